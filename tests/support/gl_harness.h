// The headless GL context every render test draws into: an invisible
// 640x480 legacy context on Mesa through the platform layer's offscreen
// backend, plus pixel read-back and PNG output for looking at failures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct rgb {
    uint8_t r, g, b;
};

// Creates the context once per process and makes it current.
void gl_harness_init();

// The pixel at overlay position (x, y): origin top-left, y downwards.
rgb overlay_pixel(int x, int y);
// The whole 640x480 frame as RGB rows, top row first.
std::vector<uint8_t> read_frame();
bool write_png(const std::string& path, const std::vector<uint8_t>& rgb_rows, int width,
               int height);

// A fresh folder under the system's temporary folder, for files a test writes.
std::string make_temp_dir(const char* tag);
