// Cubic Hermite interpolation through the keys of a camera path: segment k
// runs from slot k + 1 to slot k + 2 with the differences to the next slots
// as tangents, so the camera moves smoothly through every key. A loaded path
// has no record in slot count, so its last segment ends on its last key.
#include "assets/qor_spline.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

using camera_fields = std::array<float, 10>;
static_assert(sizeof(camera_fields) == sizeof(camera_record));

camera_fields fields_of(const camera_record& record) {
    camera_fields fields;
    std::memcpy(fields.data(), &record, sizeof record);
    return fields;
}

}  // namespace

float hermite(float a, float b, float c, float s) {
    const double s1 = s, s2 = s1 * s1, s3 = s2 * s1;
    const double da = a, db = b, dc = c;
    return static_cast<float>((2 * s3 - 3 * s2 + 1) * da + (s3 - 2 * s2 + s1) * (db - da) +
                              (-2 * s3 + 3 * s2) * db + (s3 - s2) * (dc - db));
}

void interpolate_camera(camera_record& destination, const camera_path& path, float t) {
    // A count beyond the slots (only possible by writing it directly) is read
    // as a full path.
    const int n = std::min<int>(path.count, camera_path_max_keys);
    if (n < 4) {
        destination = path.slots[1];
        return;
    }
    const float seg = static_cast<float>(1.0 / (n - 2));
    // t is meant to lie in [0, 1); outside it, and for NaN, the nearest
    // segment is extended instead of reading slots that do not exist.
    const double position = static_cast<double>(n - 2) * t;
    const int last_segment = n - 3;
    int k = 0;
    if (position >= last_segment) {
        k = last_segment;
    } else if (position > 0) {
        k = static_cast<int>(position);
    }
    const float s = static_cast<float>((t - static_cast<double>(k) * seg) / seg);
    const camera_fields a = fields_of(path.slots[k + 1]);
    const camera_fields b = fields_of(path.slots[k + 2]);
    // The end tangent never reaches past the last slot that holds a key.
    int c_slot = k + 3;
    if (path.last_filled_slot > 0 && c_slot > path.last_filled_slot) c_slot = path.last_filled_slot;
    const camera_fields c = fields_of(path.slots[c_slot]);
    camera_fields result;
    for (size_t f = 0; f < result.size(); ++f) result[f] = hermite(a[f], b[f], c[f], s);
    std::memcpy(&destination, result.data(), sizeof destination);
}
