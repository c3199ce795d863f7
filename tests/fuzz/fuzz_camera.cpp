// Fuzz target: the bytes of a .camera file through the path loader, then the
// spline at the start, the middle and the end of the path, outside [0, 1],
// at NaN and infinity, and at a parameter taken from the input's last bytes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "assets/qor_camera.h"
#include "assets/qor_spline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Paths are globals in the demo: zero before their one load.
    static camera_path path;
    path = camera_path{};
    parse_camera_path(path, data, size);
    float from_input = 0.5f;
    if (size >= sizeof from_input) {
        std::memcpy(&from_input, data + size - sizeof from_input, sizeof from_input);
    }
    const float times[] = {0.0f, 0.5f, 0.999999f, 1.0f, -0.25f, 1.5f, 1e30f,
                           std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::infinity(), from_input};
    camera_record camera{};
    for (const float t : times) interpolate_camera(camera, path, t);
    return 0;
}
