// Texture images prepared off the GL thread: JPEG files decoded into RGB,
// or RGBA with the alpha from a second picture, with their mipmap chains, by
// worker threads that start once the GL context exists; the GL thread takes
// them in request order and only uploads.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "assets/mipmap_chain.h"

struct texture_source {
    std::string colour_file;
    std::string alpha_file;  // empty for a colour-only texture
};

struct decoded_texture {
    int components = 3;
    // The whole mipmap chain; only level 0 where a side is not a power of
    // two (the GL thread leaves such images to the GLU, which rescales).
    std::vector<mip_level> levels;
    std::string failed_file;  // empty when decoding succeeded
    std::string reason;
};

// Decodes one texture on the calling thread; failures are in the result.
decoded_texture decode_texture(const texture_source& source);
// The same from the bytes of its files (alpha empty for a colour-only
// texture); the source names the files in the reasons.
decoded_texture decode_texture_bytes(const texture_source& source,
                                     const std::vector<unsigned char>& colour_bytes,
                                     const std::vector<unsigned char>& alpha_bytes);

// Starts decoding the sources on worker threads, unless a batch is already
// under way. Workers run at most a few textures ahead of what was taken.
void begin_texture_decoding(std::vector<texture_source> sources);
bool texture_decoding_begun();
// Waits for texture `index` of the batch (taken once, in any order).
decoded_texture take_decoded_texture(size_t index);
// Stops the workers (they finish the picture in hand) and forgets the
// batch; taking the last texture does this too.
void end_texture_decoding();
