// The mipmap levels of a texture image computed on the CPU, any thread, the
// way the GLU's mipmap builder computes them for power-of-two sizes, so that
// images can be prepared off the GL thread and uploaded level by level.
#pragma once

#include <vector>

struct mip_level {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;  // rows packed at width * components
};

bool is_power_of_two(int size);

// Level 0 is the image itself; each next level halves both sides (a side
// already 1 stays 1) by averaging 2x2 texels, or 2 along the side left, down
// to 1x1. Only for power-of-two sides; components is 3 or 4.
std::vector<mip_level> build_mipmap_chain(int width, int height, int components,
                                          std::vector<unsigned char> pixels);
