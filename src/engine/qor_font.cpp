// Text lines from a 16x16-cell glyph atlas: one quad per character, the
// whole line centred on a point of the pixel overlay.
#include "engine/qor_font.h"

#include <GL/gl.h>

#include <cstring>

#include "engine/qor_views.h"

namespace {

constexpr int atlas_cells = 16;

}  // namespace

void draw_text(const char* text, uint32_t texture, float x, float y, float width, float height,
               float advance, float red, float green, float blue, float alpha) {
    begin_overlay();
    const int length = static_cast<int>(std::strlen(text));
    const float first_x = x - static_cast<float>(length - 1) * advance / 2;
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glColor4f(red, green, blue, alpha);
    const float half_width = width / 2;
    const float half_height = height / 2;
    for (int i = 0; i < length; ++i) {
        const int code = static_cast<unsigned char>(text[i]);
        const float cx = first_x + static_cast<float>(i) * advance;
        const float s0 = static_cast<float>(code % atlas_cells) / atlas_cells;
        const float s1 = static_cast<float>(code % atlas_cells + 1) / atlas_cells;
        const float t0 = static_cast<float>(code / atlas_cells) / atlas_cells;
        const float t1 = static_cast<float>(code / atlas_cells + 1) / atlas_cells;
        glTexCoord2f(s0, t0);
        glVertex2f(cx - half_width, y - half_height);
        glTexCoord2f(s1, t0);
        glVertex2f(cx + half_width, y - half_height);
        glTexCoord2f(s1, t1);
        glVertex2f(cx + half_width, y + half_height);
        glTexCoord2f(s0, t1);
        glVertex2f(cx - half_width, y + half_height);
    }
    glEnd();
    end_overlay();
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
}
