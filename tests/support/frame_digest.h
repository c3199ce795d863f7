// Short stand-ins for whole RGB frames, for tests that compare pictures:
// a 64-bit checksum, box-filtered thumbnails and counts of differing pixels.
#pragma once

#include <cstdint>
#include <vector>

// FNV-1a (64 bit) of the bytes: any changed byte changes it.
uint64_t fnv1a_64(const std::vector<uint8_t>& bytes);

// An RGB picture `factor` times smaller each way; every pixel is the rounded
// mean of its factor x factor block. width and height must divide by factor.
std::vector<uint8_t> box_shrink(const std::vector<uint8_t>& rgb_rows, int width, int height,
                                int factor);

// Pixels of two equally sized RGB pictures where some channel differs by
// more than `tolerance` (0: any difference counts).
int count_differing_pixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                           int tolerance);
