// The player's presentation step, kept apart from the show's state: every
// GL attribute and matrix it touches is pushed first and popped after, so
// the next show frame starts as it would in the demo.
#include "player_view.h"

#include <GL/gl.h>

#include <algorithm>

#include "assets/qor_textures.h"
#include "assets/scene_globaldata.h"
#include "engine/qor_font.h"
#include "engine/qor_views.h"
#include "engine/render_targets.h"
#include "platform/platform.h"

namespace {

uint32_t picture = 0;

constexpr float glyph_size = 8;
constexpr float line_height = 11;
constexpr float margin = 6;

void push_state() {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    for (GLenum mode : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(mode);
        glPushMatrix();
    }
}

void pop_state() {
    for (GLenum mode : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(mode);
        glPopMatrix();
    }
    glPopAttrib();
}

// The largest 4:3 rectangle centred in the window.
void letterbox_viewport() {
    int width = 0, height = 0;
    platform::get_drawable_size(width, height);
    const double scale = std::min(static_cast<double>(width) / screen_width,
                                  static_cast<double>(height) / screen_height);
    const int shown_width = static_cast<int>(screen_width * scale);
    const int shown_height = static_cast<int>(screen_height * scale);
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport((width - shown_width) / 2, (height - shown_height) / 2, shown_width, shown_height);
}

// Left-aligned lines on a dark band at the top of the picture.
void draw_overlay(const std::vector<std::string>& lines) {
    const float band = margin * 2 + line_height * static_cast<float>(lines.size());
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, 0.75f);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(screen_width, 0);
    glVertex2f(screen_width, band);
    glVertex2f(0, band);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    const uint32_t font = find_texture(texture_table, "font");
    float y = margin + line_height / 2;
    for (const std::string& line : lines) {
        const float centre = margin + glyph_size * static_cast<float>(line.size()) / 2;
        draw_text(line.c_str(), font, centre, y, glyph_size, glyph_size + 2, glyph_size, 1, 1, 0.6f, 1);
        y += line_height;
    }
}

}  // namespace

void init_player_view() { picture = create_screen_target(); }

void present_frame(bool new_picture, const std::vector<std::string>& overlay_lines) {
    push_state();
    if (new_picture) copy_screen(picture);
    // Whatever the last scene left on; the pop puts it back.
    for (GLenum capability : {GL_DEPTH_TEST, GL_BLEND, GL_ALPHA_TEST, GL_SCISSOR_TEST, GL_LIGHTING,
                              GL_FOG, GL_CULL_FACE, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T}) {
        glDisable(capability);
    }
    glColor4f(1, 1, 1, 1);
    letterbox_viewport();
    begin_overlay();
    glEnable(GL_TEXTURE_2D);
    draw_screen_target(picture);
    if (!overlay_lines.empty()) draw_overlay(overlay_lines);
    end_overlay();
    pop_state();
    platform::swap_buffers();
}
