// Checksums, thumbnails and pixel-difference counts of RGB frames.
#include "support/frame_digest.h"

#include <cstddef>
#include <cstdlib>

uint64_t fnv1a_64(const std::vector<uint8_t>& bytes) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::vector<uint8_t> box_shrink(const std::vector<uint8_t>& rgb_rows, int width, int height,
                                int factor) {
    const int w = width / factor;
    const int h = height / factor;
    const int area = factor * factor;
    std::vector<uint8_t> small(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < factor; ++dy) {
                    const size_t row = static_cast<size_t>(y * factor + dy) * width;
                    for (int dx = 0; dx < factor; ++dx) {
                        sum += rgb_rows[(row + x * factor + dx) * 3 + c];
                    }
                }
                small[(static_cast<size_t>(y) * w + x) * 3 + c] =
                    static_cast<uint8_t>((sum + area / 2) / area);
            }
        }
    }
    return small;
}

int count_differing_pixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                           int tolerance) {
    int count = 0;
    for (size_t i = 0; i + 2 < a.size() && i + 2 < b.size(); i += 3) {
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs(a[i + c] - b[i + c]) > tolerance) {
                ++count;
                break;
            }
        }
    }
    return count;
}
