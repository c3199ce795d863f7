// Box-filtered mipmap chains with the GLU's rounding: a 2x2 average rounds
// to nearest ((a + b + c + d + 2) / 4), an average of two truncates
// ((a + b) / 2).
#include "assets/mipmap_chain.h"

#include <cstddef>
#include <utility>

namespace {

mip_level halve(const mip_level& from, int components) {
    mip_level to;
    to.width = from.width > 1 ? from.width / 2 : 1;
    to.height = from.height > 1 ? from.height / 2 : 1;
    to.pixels.resize(static_cast<size_t>(to.width) * to.height * components);
    const size_t row = static_cast<size_t>(from.width) * components;
    const size_t step = from.width > 1 ? static_cast<size_t>(components) : 0;
    const size_t down = from.height > 1 ? row : 0;
    const bool square_average = step != 0 && down != 0;
    unsigned char* out = to.pixels.data();
    for (int y = 0; y < to.height; ++y) {
        const unsigned char* top = from.pixels.data() + static_cast<size_t>(y) * (down == 0 ? row : 2 * row);
        for (int x = 0; x < to.width; ++x) {
            const unsigned char* a = top + static_cast<size_t>(x) * 2 * step;
            for (int c = 0; c < components; ++c, ++a) {
                if (square_average) {
                    *out++ = static_cast<unsigned char>((a[0] + a[step] + a[down] + a[down + step] + 2) / 4);
                } else {
                    *out++ = static_cast<unsigned char>((a[0] + a[step + down]) / 2);
                }
            }
        }
    }
    return to;
}

}  // namespace

bool is_power_of_two(int size) { return size > 0 && (size & (size - 1)) == 0; }

std::vector<mip_level> build_mipmap_chain(int width, int height, int components,
                                          std::vector<unsigned char> pixels) {
    std::vector<mip_level> chain(1);
    chain[0] = {width, height, std::move(pixels)};
    while (chain.back().width > 1 || chain.back().height > 1) {
        mip_level next = halve(chain.back(), components);
        chain.push_back(std::move(next));
    }
    return chain;
}
