// The environments' camera paths, the record of which ones the last frame
// followed, and the held camera that stands in for one of them.
#include "scenes/camera_paths.h"

#include <algorithm>
#include <cmath>

#include "assets/qor_spline.h"
#include "frame/globals.h"

environment_camera environment_cameras[environment_count] = {
    {{}, "data\\en1.camera"}, {{}, "data\\en2.camera"}, {{}, "data\\en3.camera"},
    {{}, "data\\en4.camera"}, {{}, "data\\en5.camera"}, {{}, "data\\en6.camera"},
};
path_follow path_follows[path_follow_capacity];
int path_follow_count = 0;
int held_environment = 0;
camera_record held_camera;

void load_environment_path(int environment) {
    environment_camera& entry = environment_cameras[environment - 1];
    load_camera_path(entry.path, entry.file_name);
}

void follow_environment_path(int environment, int32_t local_time, float t) {
    if (environment == held_environment) {
        current_camera = held_camera;
    } else {
        interpolate_camera(current_camera, environment_cameras[environment - 1].path, t);
    }
    if (path_follow_count < path_follow_capacity) {
        path_follows[path_follow_count++] = path_follow{environment, local_time, t};
    }
}

int fix_environment_key(int environment, float t, const camera_record& camera) {
    camera_path& path = environment_cameras[environment - 1].path;
    // A loaded path of n records passes slot k + 1 at t = k / (n - 2).
    const int n = path.count;
    const int nearest = static_cast<int>(std::lround(static_cast<double>(n - 2) * t)) + 1;
    const int slot = n < 4 ? 1 : std::clamp(nearest, 1, n - 1);
    path.slots[slot] = camera;
    // A file too short to hold slot 1 grows to it.
    path.count = std::max(path.count, slot + 1);
    path.last_filled_slot = std::max(path.last_filled_slot, slot);
    return slot;
}

void save_environment_path(int environment) {
    const environment_camera& entry = environment_cameras[environment - 1];
    // save_camera_path writes slots 0 ... count, the shape of an appended
    // path; a loaded one holds its records in slots 0 ... count - 1.
    camera_path as_appended = entry.path;
    as_appended.count = std::max(0, as_appended.count - 1);
    save_camera_path(as_appended, entry.file_name);
}

void forget_path_follows() { path_follow_count = 0; }
