// JPEG output with the integer DCT, so every machine writes the same bytes.
#include "jpeg_writer.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

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
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return false;
    }
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    const size_t stride = static_cast<size_t>(width) * components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bytes.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const bool ok = std::fclose(file) == 0;
    if (!ok) std::fprintf(stderr, "datagen: cannot finish %s\n", path.c_str());
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
