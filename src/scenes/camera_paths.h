// The six environments' camera paths in one table: each environment scene
// loads its own in init and follows it every frame; the player reloads
// them, shows where they stand and fixes their keys while the show plays.
#pragma once

#include <cstdint>

#include "assets/qor_camera.h"

constexpr int environment_count = 6;

// Environment n (1 to 6) keeps its path in entry n - 1, loaded from
// "data\enN.camera" by the scene's init and by the player's reloads.
struct environment_camera {
    camera_path path;
    const char* file_name;
};
extern environment_camera environment_cameras[environment_count];

// Loads environment n's path from its file; a missing or unreadable file is
// a fatal load error (one the player's reloads catch).
void load_environment_path(int environment);
// current_camera <- environment n's path at t, which the scene reached at
// its local time; or, while held_environment is n, the held camera.
void follow_environment_path(int environment, int32_t local_time, float t);

// Replaces the key of environment n's path that the camera passes nearest
// to t with the camera (slot 1 for a path of three keys or fewer, which
// shows only that one); every other key stays. Answers the slot replaced.
int fix_environment_key(int environment, float t, const camera_record& camera);
// Writes environment n's path back to its file through save_camera_path
// (its temporary file and rename), record for record as it was loaded.
void save_environment_path(int environment);

// What one environment followed in the frame: environment n, its local
// time in ms and the path parameter t.
struct path_follow {
    int environment;
    int32_t local_time;
    float t;
};
// What the frame drawn last followed, in drawing order (a frame draws at
// most two environments): cleared by draw_frame as a frame begins, written
// by follow_environment_path, read by the player's overlay and editor.
constexpr int path_follow_capacity = 4;
extern path_follow path_follows[path_follow_capacity];
extern int path_follow_count;
void forget_path_follows();

// While non-zero, environment held_environment shows held_camera instead of
// its path: the player's free flight, whose moves would otherwise be
// overwritten by the path every frame. 0 at start: the show as it is.
extern int held_environment;
extern camera_record held_camera;
