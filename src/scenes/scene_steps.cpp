// The steps every timeline scene shares, written once: the letterbox frame
// and glow that close each frame, the screen tint, and the title scenes'
// sky layers and festival name.
#include "scenes/scene_steps.h"

#include <GL/gl.h>

#include <cmath>

#include "assets/scene_globaldata.h"
#include "engine/qor_font.h"
#include "engine/qor_views.h"
#include "engine/render_targets.h"
#include "engine/work_steps.h"
#include "scenes/show_texts.h"

namespace {

struct sky_layer {
    const char* texture;
    float turn;  // degrees per unit of progress, before the divisor
};

const sky_layer sky_layers[5] = {
    {"sky1", 185}, {"sky2", -115}, {"sky3", 80}, {"sky4", -95}, {"sky5", 2}};

// Bar heights: an eighth of the screen, to the nearest line (halves to even).
const int bar_height = static_cast<int>(std::lrint(screen_height / 8.0));
const int bottom_bar_top = static_cast<int>(std::lrint(7.0 * screen_height / 8.0));

constexpr int glow_weight = 135;
constexpr float bar_text_alpha = 0.51f;

void full_screen_quad() {
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(screen_width, 0);
    glVertex2f(screen_width, screen_height);
    glVertex2f(0, screen_height);
    glEnd();
}

}  // namespace

uint32_t font_texture() { return find_texture(texture_table, "font"); }

void set_origin_pose(camera_record& camera) { set_camera(camera, 0, 0, 0, 0, 0, -1, 0, 1, 0); }

void draw_sky_layers(float p, const float (&divisors)[5]) {
    for (int i = 0; i < 5; ++i) {
        glPushMatrix();
        glRotatef(p * sky_layers[i].turn / divisors[i], 0, 0, 1);
        glColor4f(1, 1, 1, 0.2f);
        glBindTexture(GL_TEXTURE_2D, find_texture(texture_table, sky_layers[i].texture));
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex3f(-100, -100, -100);
        glTexCoord2f(1, 0);
        glVertex3f(100, -100, -100);
        glTexCoord2f(1, 1);
        glVertex3f(100, 100, -100);
        glTexCoord2f(0, 1);
        glVertex3f(-100, 100, -100);
        glEnd();
        glPopMatrix();
    }
}

void draw_name_line(const char* text, float p, float red, float green, float blue,
                    float alpha) {
    const float glyph = 50 * p + 40;
    draw_text(text, font_texture(), 320, 240, glyph, glyph, 3 * p + 27.5f, red, green, blue,
              alpha);
}

void draw_festival_name(float p, float alpha) {
    draw_name_line(festival_name, p, 0, 0.5f, 1, alpha);
    draw_name_line(festival_name, p, 1, 1, 1, alpha);
}

void tint_screen(uint32_t destination_factor, float red, float green, float blue, float alpha) {
    begin_overlay();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, destination_factor);
    glColor4f(red, green, blue, alpha);
    full_screen_quad();
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    end_overlay();
}

void draw_letterbox_frame() {
    glViewport(0, 0, screen_width, screen_height);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);

    begin_overlay();
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glColor4f(0, 0, 0, 1);
    glVertex2i(0, 0);
    glVertex2i(screen_width, 0);
    glVertex2i(screen_width, bar_height);
    glVertex2i(0, bar_height);
    glVertex2i(0, bottom_bar_top);
    glVertex2i(screen_width, bottom_bar_top);
    glVertex2i(screen_width, screen_height);
    glVertex2i(0, screen_height);
    glEnd();
    end_overlay();

    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, find_texture(texture_table, "qvlogo"));
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(10, bottom_bar_top + 10);
    glTexCoord2f(1, 0);
    glVertex2i(bar_height - 10, bottom_bar_top + 10);
    glTexCoord2f(1, 1);
    glVertex2i(bar_height - 10, screen_height - 10);
    glTexCoord2f(0, 1);
    glVertex2i(10, screen_height - 10);
    glEnd();

    const float bar_middle = static_cast<float>(bottom_bar_top) + static_cast<float>(bar_height) / 2.0f;
    draw_text("quor vane : digital art festival", font_texture(), 320, bar_middle - 8, 16, 16,
              11, 1, 1, 1, bar_text_alpha);
    draw_text(letterbox_place_line, font_texture(), 320, bar_middle + 8, 16, 16, 10, 1, 1, 1,
              bar_text_alpha);
}

void clip_to_letterbox_opening() {
    // Window rows count from the bottom; the two bars are the same height.
    glScissor(0, screen_height - bottom_bar_top, screen_width, bottom_bar_top - bar_height);
    glEnable(GL_SCISSOR_TEST);
}

void end_letterbox_clip() { glDisable(GL_SCISSOR_TEST); }

void blur_frame_into_glow() {
    work_checkpoint("scene");
    glColor4f(1, 1, 1, 1);
    copy_screen(screen_targets[2]);
    work_checkpoint("glow.copy_frame");
    draw_target_256();
    copy_glow_source();
    work_checkpoint("glow.shrink");
    draw_glow_source_128();
    blur_glow(glow_weight);
    draw_target_full();
}

void glow_pass() {
    blur_frame_into_glow();
    blend_glow(1, 1, 1, 0.75f);
    add_glow();
    work_checkpoint("glow.lay_over");
}
