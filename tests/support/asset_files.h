// Small asset files that tests write for the loaders: JPEGs through libjpeg
// (no chroma subsampling, quality 100, so flat colours survive), and raw
// bytes for the mesh and camera formats.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct rgb;

// pixel(x, y) gives the colour at column x of row y (top row 0); with
// greyscale set only its red value is stored.
void write_jpeg(const std::string& path, int width, int height,
                const std::function<rgb(int x, int y)>& pixel, bool greyscale = false);
void write_flat_jpeg(const std::string& path, int width, int height, rgb colour);

void write_bytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> read_bytes(const std::string& path);

// Appends little-endian 32-bit values, as the .geox and .camera files hold them.
void append_int32(std::vector<unsigned char>& bytes, int32_t value);
void append_float(std::vector<unsigned char>& bytes, float value);
