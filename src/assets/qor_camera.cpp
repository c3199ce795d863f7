// Camera records, camera paths with their .camera files (bare 40-byte
// records), and the editor's moves: rise, advance, strafe, turn. No GL here:
// qor_camera_apply.cpp hands a record to OpenGL.
#include "assets/qor_camera.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "assets/little_endian.h"
#include "assets/load_error.h"
#include "platform/platform.h"

namespace {

constexpr size_t floats_per_record = 10;
constexpr size_t record_bytes = sizeof(camera_record);

void store_record(unsigned char* bytes, const camera_record& record) {
    float fields[floats_per_record];
    std::memcpy(fields, &record, record_bytes);
    for (size_t i = 0; i < floats_per_record; ++i) store_le_float(bytes + 4 * i, fields[i]);
}

camera_record load_record(const unsigned char* bytes) {
    float fields[floats_per_record];
    for (size_t i = 0; i < floats_per_record; ++i) fields[i] = load_le_float(bytes + 4 * i);
    camera_record record;
    std::memcpy(&record, fields, record_bytes);
    return record;
}

// value + step * amount, formed in double and rounded once.
float moved(float value, double step, float amount) {
    return static_cast<float>(value + step * amount);
}

// Moves eye and target by step * amount in x and z; y stays.
void move_horizontally(camera_record& camera, double step_x, double step_z, float amount) {
    camera.eye_x = moved(camera.eye_x, step_x, amount);
    camera.eye_z = moved(camera.eye_z, step_z, amount);
    camera.target_x = moved(camera.target_x, step_x, amount);
    camera.target_z = moved(camera.target_z, step_z, amount);
}

// eye + sin(a) * along + cos(a) * across, formed in double.
float turned(float eye, float along, float across, float angle) {
    const double a = angle;
    return static_cast<float>(eye + std::sin(a) * along + std::cos(a) * across);
}

void report_save_failure(const char* file_name, const std::string& reason) {
    const std::string text =
        std::string("Cannot save the camera path to \"") + file_name + "\": " + reason;
    platform::message_box(text.c_str(), "Error", platform::MB_OK | platform::MB_ICONERROR);
}

// Writes the bytes to a fresh file; answers the reason when that fails.
std::string write_file(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return std::strerror(errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const std::string write_reason = written ? "" : std::strerror(errno);
    const bool closed = std::fclose(file) == 0;
    if (!written) return write_reason;
    if (!closed) return std::strerror(errno);
    return {};
}

}  // namespace

void set_camera(camera_record& camera, float eye_x, float eye_y, float eye_z, float target_x,
                float target_y, float target_z, float up_x, float up_y, float up_z) {
    camera.eye_x = eye_x;
    camera.eye_y = eye_y;
    camera.eye_z = eye_z;
    camera.target_x = target_x;
    camera.target_y = target_y;
    camera.target_z = target_z;
    camera.up_x = up_x;
    camera.up_y = up_y;
    camera.up_z = up_z;
}

void clear_camera_path(camera_path& path) { path.count = 0; }

void append_camera(const camera_record& camera, camera_path& path) {
    if (path.count < 0 || path.count >= camera_path_max_keys) return;
    ++path.count;
    path.slots[path.count] = camera;
    path.last_filled_slot = std::max(path.last_filled_slot, path.count);
}

void save_camera_path(const camera_path& path, const char* file_name) {
    // Slots 0 ... count: loading this file back puts every appended key into
    // the slots that playback passes through.
    const int records = std::clamp(path.count, 0, camera_path_max_keys) + 1;
    std::vector<unsigned char> bytes(static_cast<size_t>(records) * record_bytes);
    for (int i = 0; i < records; ++i) store_record(&bytes[i * record_bytes], path.slots[i]);

    // Written beside the target and renamed over it, so a failed write
    // leaves the previous file whole.
    const std::filesystem::path target = platform::native_path(file_name);
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    const std::string reason = write_file(temporary.string(), bytes);
    if (!reason.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        report_save_failure(file_name, reason);
        return;
    }
    std::error_code renamed;
    std::filesystem::rename(temporary, target, renamed);
    if (renamed) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        report_save_failure(file_name, renamed.message());
    }
}

void load_camera_path(camera_path& path, const char* file_name) {
    const std::vector<unsigned char> file = read_data_file(file_name);
    parse_camera_path(path, file.data(), file.size());
}

void parse_camera_path(camera_path& path, const unsigned char* bytes, size_t size) {
    const size_t records = size / record_bytes;
    // Records past the last slot are ignored; the keys stop at slot 99.
    const size_t stored = std::min<size_t>(records, camera_path_slots);
    for (size_t i = 0; i < stored; ++i) path.slots[i] = load_record(bytes + i * record_bytes);
    path.count = static_cast<int32_t>(std::min<size_t>(records, camera_path_max_keys));
    path.last_filled_slot = static_cast<int32_t>(stored) - 1;
}

void camera_rise(camera_record& camera, float amount) {
    camera.eye_y = moved(camera.eye_y, 1.0, amount);
    camera.target_y = moved(camera.target_y, 1.0, amount);
}

void camera_advance(camera_record& camera, float amount) {
    const float dx = camera.target_x - camera.eye_x;
    const float dz = camera.target_z - camera.eye_z;
    move_horizontally(camera, dx, dz, amount);
}

void camera_strafe(camera_record& camera, float amount) {
    const float dx = camera.target_x - camera.eye_x;
    const float dy = camera.target_y - camera.eye_y;
    const float dz = camera.target_z - camera.eye_z;
    // up x d; its y component would move the camera vertically, which a
    // strafe does not.
    const double cx = static_cast<double>(camera.up_y) * dz - static_cast<double>(camera.up_z) * dy;
    const double cz = static_cast<double>(camera.up_x) * dy - static_cast<double>(camera.up_y) * dx;
    move_horizontally(camera, cx, cz, amount);
}

void camera_turn(camera_record& camera, float a1, float a2, float a3) {
    const float dx = camera.target_x - camera.eye_x;
    const float dy = camera.target_y - camera.eye_y;
    const float dz = camera.target_z - camera.eye_z;
    if (a1 != 0) {
        camera.target_z = turned(camera.eye_z, dy, dz, a1);
        camera.target_y = turned(camera.eye_y, -dz, dy, a1);
    }
    if (a2 != 0) {
        camera.target_z = turned(camera.eye_z, dx, dz, a2);
        camera.target_x = turned(camera.eye_x, -dz, dx, a2);
    }
    if (a3 != 0) {
        camera.target_x = turned(camera.eye_x, dy, dx, a3);
        camera.target_y = turned(camera.eye_y, -dx, dy, a3);
    }
}
