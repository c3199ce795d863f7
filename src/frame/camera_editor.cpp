// The free-flight camera editor: every frame the held keys move, lift and
// zoom current_camera and the mouse turns it while the left button is held;
// a right-button release appends the view to recorded_path and saves it.
#include "frame/camera_editor.h"

#include <algorithm>

#include "frame/globals.h"
#include "platform/platform.h"

float camera_speed = 0.01f;

namespace {

struct cursor_position {
    int x = 0;
    int y = 0;
};

// The cursor seen in the previous frame pass; (0, 0) before the first.
cursor_position last_cursor;

constexpr int first_digit_key = 49;  // '1'
constexpr int digit_keys = 8;
constexpr float digit_fov[digit_keys] = {10, 30, 50, 70, 90, 110, 130, 150};
constexpr float digit_speed[digit_keys] = {0.0001f, 0.001f, 0.01f, 0.1f, 1, 10, 100, 1000};
constexpr float fov_step = 5;
// gluPerspective needs a field of view strictly between 0 and 180 degrees;
// the editor keeps it one step inside that.
constexpr float least_fov = fov_step;
constexpr float widest_fov = 180 - fov_step;
constexpr float pixels_per_radian = 333;

bool held(int key) { return key_state[key] != 0; }

// Home and End act once per key-down message: they clear their own entry.
bool take_press(int key) {
    if (!held(key)) return false;
    key_state[key] = 0;
    return true;
}

void zoom(float degrees) {
    current_camera.fov = std::clamp(current_camera.fov + degrees, least_fov, widest_fov);
}

void move_with_keys() {
    if (held(platform::VK_LEFT)) camera_strafe(current_camera, camera_speed / 3);
    if (held(platform::VK_RIGHT)) camera_strafe(current_camera, -camera_speed / 3);
    if (held(platform::VK_UP)) camera_advance(current_camera, camera_speed * 3);
    if (held(platform::VK_DOWN)) camera_advance(current_camera, -camera_speed * 3);
    if (held(platform::VK_PRIOR)) camera_rise(current_camera, camera_speed * 45);
    if (held(platform::VK_NEXT)) camera_rise(current_camera, -camera_speed * 45);
    if (take_press(platform::VK_HOME)) zoom(fov_step);
    if (take_press(platform::VK_END)) zoom(-fov_step);
    // Tested from 1 to 8, each assigning: the highest digit held wins.
    const bool shift = held(platform::VK_SHIFT);
    for (int digit = 0; digit < digit_keys; ++digit) {
        if (!held(first_digit_key + digit)) continue;
        if (shift) {
            current_camera.fov = digit_fov[digit];
        } else {
            camera_speed = digit_speed[digit];
        }
    }
}

void turn_with_mouse() {
    cursor_position cursor;
    platform::get_cursor_pos(cursor.x, cursor.y);
    if (mouse_look) {
        const float dx = static_cast<float>(cursor.x - last_cursor.x) / pixels_per_radian;
        const float dy = static_cast<float>(cursor.y - last_cursor.y) / pixels_per_radian;
        camera_turn(current_camera, dy, dx, 0);
    }
    last_cursor = cursor;
}

}  // namespace

void camera_editor_step() {
    move_with_keys();
    turn_with_mouse();
}

void record_camera_view() {
    append_camera(current_camera, recorded_path);
    save_camera_path(recorded_path, "default.camera");
}
