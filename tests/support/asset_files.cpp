// Writers for the small JPEG, mesh and camera files that loader tests use.
#include "support/asset_files.h"

#include <bit>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "jpeg_file.h"

#include "support/gl_harness.h"

void write_jpeg(const std::string& path, int width, int height,
                const std::function<rgb(int x, int y)>& pixel, bool greyscale) {
    const int components = greyscale ? 1 : 3;
    std::vector<uint8_t> rows(static_cast<size_t>(width) * height * components);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const rgb p = pixel(x, y);
            uint8_t* out = &rows[(static_cast<size_t>(y) * width + x) * components];
            out[0] = p.r;
            if (!greyscale) {
                out[1] = p.g;
                out[2] = p.b;
            }
        }
    }
    if (!write_jpeg_file(path, width, height, components, 100, true, rows.data())) {
        throw std::runtime_error("cannot write " + path);
    }
}

void write_flat_jpeg(const std::string& path, int width, int height, rgb colour) {
    write_jpeg(path, width, height, [colour](int, int) { return colour; });
}

void write_bytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<unsigned char> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void append_int32(std::vector<unsigned char>& bytes, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(bits >> (8 * i)));
}

void append_float(std::vector<unsigned char>& bytes, float value) {
    append_int32(bytes, std::bit_cast<int32_t>(value));
}
