// Centred lines of text from a 16x16-cell glyph atlas.
#pragma once

#include <cstdint>

// Leaves texturing on, depth test off, blending off with (SRC_ALPHA,
// ONE_MINUS_SRC_ALPHA), colour white, the atlas bound, the pixel projection
// in force and the modelview identity and selected.
void draw_text(const char* text, uint32_t texture, float x, float y, float width,
               float height, float advance, float red, float green, float blue,
               float alpha);
