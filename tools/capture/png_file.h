// PNG input and output of 8-bit RGB pictures, rows top first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

bool write_png_file(const std::string& path, const uint8_t* rgb_rows, int width, int height);

// Reads any PNG as 8-bit RGB rows; false (and rgb_rows untouched) when the
// file is missing or unreadable.
bool read_png_file(const std::string& path, std::vector<uint8_t>& rgb_rows, int& width,
                   int& height);
