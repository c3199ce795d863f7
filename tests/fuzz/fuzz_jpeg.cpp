// Fuzz target: the texture path up to the GL upload. The input's first four
// bytes (little-endian) give the length of a colour picture that follows;
// the rest is its alpha picture. Both are decoded, size-checked, merged into
// RGBA and given their mipmap chain as a colour + alpha texture is. A length
// that reaches past the end makes the whole rest one colour picture.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/little_endian.h"
#include "assets/texture_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const size_t colour_size = load_le32(data);
    const uint8_t* colour = data + 4;
    const size_t rest = size - 4;
    if (colour_size >= rest) {
        decode_texture_bytes({"data\\colour.jpg", ""}, {colour, colour + rest}, {});
    } else {
        decode_texture_bytes({"data\\colour.jpg", "data\\alpha.jpg"},
                             {colour, colour + colour_size}, {colour + colour_size, colour + rest});
    }
    return 0;
}
