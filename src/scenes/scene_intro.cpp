// The intro: five counter-rotating sky layers added up behind the title,
// a cursor running along the festival name, a white flash and a black
// "TRAVEL" growing towards the end, and a slanted wipe uncovering the
// picture during the first fifth. Also the letterbox frame and the glow
// that close every timeline scene's frame.
#include "scenes/scene_intro.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "assets/scene_globaldata.h"
#include "engine/qor_font.h"
#include "engine/qor_views.h"
#include "engine/render_targets.h"
#include "frame/globals.h"
#include "scenes/show_texts.h"

namespace {

const char* const festival_name = "quor vane";

struct sky_layer {
    const char* texture;
    float turn;  // degrees per unit of progress, before the divisor
};

const sky_layer sky_layers[5] = {
    {"sky1", 185}, {"sky2", -115}, {"sky3", 80}, {"sky4", -95}, {"sky5", 2}};

const float intro_sky_divisors[5] = {5, 5, 5, 5, 5};

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

// Title lines under and over the name grow from nothing with p.
void draw_title_line(const char* text, float y, float p, float s) {
    const float glyph = 22 * p;
    draw_text(text, font_texture(), 320, y, glyph, glyph, 2 * p + 13, 1, 1, 1, s);
}

// Everything right of the slanted edge from (3200 p, 0) to (5120 p, 480)
// stays black. The quad is given as the two triangles (1, 2, 3) and
// (1, 3, 4) of its corners: once the bottom corner has passed the right
// border the quad folds over, and this split keeps the black triangle
// between the top of the edge and the right border on every driver.
void draw_wipe(float p) {
    const float top_x = screen_width * 5 * p;
    const float bottom_x = screen_width * 8 * p;
    glBegin(GL_TRIANGLES);
    glVertex2f(top_x, 0);
    glVertex2f(screen_width, 0);
    glVertex2f(screen_width, screen_height);
    glVertex2f(top_x, 0);
    glVertex2f(screen_width, screen_height);
    glVertex2f(bottom_x, screen_height);
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

std::string intro_cursor_line(float p) {
    std::string line(std::strlen(festival_name), ' ');
    const long n = std::lrint(150.0 * p);
    line[static_cast<size_t>(n % static_cast<long>(line.size()))] = '_';
    return line;
}

void tscene_intro::init() {}

void tscene_intro::render(int32_t time) {
    const float p = progress(time);

    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const float s = static_cast<float>(std::sin(std::numbers::pi * p));

    // The pose set here is applied by the next frame, after the editor step.
    apply_camera(current_camera);
    set_origin_pose(current_camera);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glScalef(1.5f, 1.5f, 1);
    draw_sky_layers(p, intro_sky_divisors);
    glDisable(GL_BLEND);

    draw_title_line("quor vane 2006 invitation", 195, p, s);
    draw_title_line(credit_line, 295, p, s);
    draw_festival_name(p, s);
    draw_name_line(intro_cursor_line(p).c_str(), p, 0, 0.5f, 1, s);

    tint_screen(GL_ONE, 1, 1, 1, static_cast<float>(std::pow(static_cast<double>(p), 9)));

    if (p > 0.9) {
        const float glyph = static_cast<float>((p - 0.9) * 150 * 10);
        const float alpha = static_cast<float>((p - 0.9) * 10);
        for (int copy = 0; copy < 2; ++copy) {
            draw_text("TRAVEL", font_texture(), 320, 240, glyph, glyph, 90, 0, 0, 0, alpha);
        }
    }

    if (p < 0.2) {
        begin_overlay();
        glDisable(GL_TEXTURE_2D);
        glColor4f(0, 0, 0, 1);
        draw_wipe(p);
        glEnable(GL_TEXTURE_2D);
        end_overlay();
    }

    draw_letterbox_frame();
    glow_pass();
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

    const float bar_middle = bottom_bar_top + bar_height / 2.0f;
    draw_text("quor vane : digital art festival", font_texture(), 320, bar_middle - 8, 16, 16,
              11, 1, 1, 1, bar_text_alpha);
    draw_text(letterbox_place_line, font_texture(), 320, bar_middle + 8, 16, 16, 10, 1, 1, 1,
              bar_text_alpha);
}

void blur_frame_into_glow() {
    glColor4f(1, 1, 1, 1);
    copy_screen(screen_targets[2]);
    draw_target_256();
    copy_glow_source();
    draw_glow_source_128();
    blur_glow(glow_weight);
    draw_target_full();
}

void glow_pass() {
    blur_frame_into_glow();
    blend_glow(1, 1, 1, 0.75f);
    add_glow();
}
