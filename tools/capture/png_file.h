// PNG output of 8-bit RGB pictures, rows top first.
#pragma once

#include <cstdint>
#include <string>

bool write_png_file(const std::string& path, const uint8_t* rgb_rows, int width, int height);
