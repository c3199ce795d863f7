// Draws show frames on the offscreen context and reads them back.
#pragma once

#include <cstdint>
#include <vector>

// The 640x480 frame buffer being drawn, as RGB rows, top row first.
std::vector<uint8_t> read_back_frame();

// Draws frame `time` as the live show does, after its warm-up frames on the
// grid of `fps`, and reads it back.
std::vector<uint8_t> render_frame_exact(int32_t time, int fps);
// Draws one frame with no warm-up (the previous frames were just drawn) and
// reads it back.
std::vector<uint8_t> render_next_frame(int32_t time);
