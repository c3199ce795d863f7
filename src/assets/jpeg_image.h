// Decoding the JPEG pictures of the data folder into 8-bit RGB pixels.
#pragma once

#include <string>
#include <vector>

// Top row first, rows packed at width * 3 bytes; a greyscale picture gives
// R = G = B.
struct jpeg_image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// The whole picture of a file named as the demo names it ("data\\sky1.jpg").
// A missing file, damaged data or anything short of a complete picture is a
// fatal load error naming the file; warnings that leave every pixel decoded
// are not.
jpeg_image decode_jpeg_file(const char* file_name);
// The same decode of the bytes of a file, which it only reads, without
// ending the program and safe on any thread: false with the reason the
// message would give.
bool decode_jpeg(const unsigned char* bytes, size_t size, jpeg_image& image, std::string& reason);
