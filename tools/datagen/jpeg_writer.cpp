// Float images to 8-bit rows with a fixed dither, written as JPEG files.
#include "jpeg_writer.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "jpeg_file.h"

namespace {

// An ordered 4x4 dither of less than one level.
float dither(int x, int y) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (static_cast<float>(bayer[y & 3][x & 3]) + 0.5f) / 16.0f;
}

uint8_t to_byte(float v, int x, int y) {
    const float scaled = clamp01(v) * 255.0f + dither(x, y);
    return static_cast<uint8_t>(std::min(255.0f, scaled));
}

bool write_file(const std::string& path, int width, int height, int components, int quality,
                const std::vector<uint8_t>& bytes) {
    const bool ok = write_jpeg_file(path, width, height, components, quality, false, bytes.data());
    if (!ok) std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace

bool save_jpeg(const std::string& path, const Image& image, int quality) {
    std::vector<uint8_t> bytes(static_cast<size_t>(image.width) * image.height * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.at(x, y);
            uint8_t* out = &bytes[(static_cast<size_t>(y) * image.width + x) * 3];
            out[0] = to_byte(c.r, x, y);
            out[1] = to_byte(c.g, x, y);
            out[2] = to_byte(c.b, x, y);
        }
    }
    return write_file(path, image.width, image.height, 3, quality, bytes);
}

bool save_jpeg(const std::string& path, const Plane& plane, int quality) {
    std::vector<uint8_t> bytes(static_cast<size_t>(plane.width) * plane.height);
    for (int y = 0; y < plane.height; ++y)
        for (int x = 0; x < plane.width; ++x) bytes[static_cast<size_t>(y) * plane.width + x] = to_byte(plane.at(x, y), x, y);
    return write_file(path, plane.width, plane.height, 1, quality, bytes);
}
