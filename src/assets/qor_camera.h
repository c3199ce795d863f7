// The camera record (field of view, eye, target, up), camera paths with
// their .camera file format, and the moves the free-flight editor makes.
#pragma once

#include <cstddef>
#include <cstdint>

struct camera_record {
    float fov;
    float eye_x, eye_y, eye_z;
    float target_x, target_y, target_z;
    float up_x, up_y, up_z;
};
static_assert(sizeof(camera_record) == 40, "a .camera record is 40 bytes");

constexpr int camera_path_slots = 100;
// Keys live in slots 1 ... count, so a path holds at most 99 of them.
constexpr int camera_path_max_keys = camera_path_slots - 1;

struct camera_path {
    int32_t count;
    camera_record slots[camera_path_slots];
    // The highest slot a load or an append wrote, so that interpolation
    // never takes its end tangent from a slot holding no key; 0 for a path
    // whose slots are written directly (every slot then counts).
    int32_t last_filled_slot;
};

void set_camera(camera_record& camera, float eye_x, float eye_y, float eye_z,
                float target_x, float target_y, float target_z, float up_x,
                float up_y, float up_z);
// Projection gluPerspective(fov, 1.33333333333, 0.1, 99999) and a gluLookAt
// modelview; leaves the modelview matrix selected.
void apply_camera(const camera_record& camera);

void clear_camera_path(camera_path& path);
// Adds a copy into slot count + 1; a full path (99 keys) stays as it is.
void append_camera(const camera_record& camera, camera_path& path);
// Writes slots 0 ... count (so the last appended key is kept) to a temporary
// file and renames it over file_name; reports a failure in a message box.
void save_camera_path(const camera_path& path, const char* file_name);
// Reads whole 40-byte records into slots 0 ... ; records past slot 99 are
// ignored. A missing or unreadable file is a fatal load error.
// count is the number of records, so slot count holds no record of the file.
void load_camera_path(camera_path& path, const char* file_name);
// The same for the bytes of a file; any bytes make a path.
void parse_camera_path(camera_path& path, const unsigned char* bytes, size_t size);

void camera_rise(camera_record& camera, float amount);
void camera_advance(camera_record& camera, float amount);
void camera_strafe(camera_record& camera, float amount);
void camera_turn(camera_record& camera, float a1, float a2, float a3);
