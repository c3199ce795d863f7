// Baseline JPEG files from 8-bit rows through libjpeg, with the integer DCT
// so that every machine writes the same bytes.
#pragma once

#include <cstdint>
#include <string>

// Writes width x height pixels of 1 (greyscale) or 3 (RGB) components, rows
// top first. Colour is stored with 2x2 chroma subsampling unless
// full_chroma is set (for pictures whose texels are checked exactly).
// Returns false when the file cannot be written or finished.
bool write_jpeg_file(const std::string& path, int width, int height, int components, int quality,
                     bool full_chroma, const uint8_t* rows);
