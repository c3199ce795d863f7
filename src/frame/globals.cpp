// The frame's shared globals and their start-up values.
#include "frame/globals.h"

int32_t key_state[256];
bool escape_pressed;
int32_t fullscreen;
bool mouse_look;
camera_record current_camera;
camera_path recorded_path;

void init_shared_globals() {
    set_camera(current_camera, 0, 0, -10, 0, 0, 10, 0, 10, 0);
    current_camera.fov = 70;
    clear_camera_path(recorded_path);
}
