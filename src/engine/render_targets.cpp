// The render-target textures and the screen effects built on them: frame
// copies, drawing a target back at full or reduced size, and the glow (the
// frame shrunk to 128x128 on the card, blurred on the processor, laid over).
#include "engine/render_targets.h"

#include <GL/gl.h>

#include <algorithm>

#include "assets/qor_textures.h"
#include "engine/qor_views.h"
#include "engine/work_steps.h"

uint32_t screen_targets[screen_target_count];
uint32_t glow_source;
uint32_t glow_texture;

namespace {

constexpr int target_width = 1024;
constexpr int target_height = 512;
constexpr int source_size = 256;
constexpr int glow_size = 128;
constexpr int glow_row_bytes = glow_size * 3;
// The used part of a screen target: 640 of 1024 texels across, 480 of 512 up.
constexpr float used_s = 0.625f;
constexpr float used_t = 0.9375f;
constexpr int glow_chain_target = 2;  // screen target 3

// The blur's work square, rows bottom-up; the same buffer every frame.
unsigned char glow_pixels[glow_size * glow_row_bytes];

// One textured quad with the texture's (s1, t1) corner at the top right.
void draw_textured_quad(float right, float bottom, float s1, float t1) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, t1);
    glVertex2f(0, 0);
    glTexCoord2f(s1, t1);
    glVertex2f(right, 0);
    glTexCoord2f(s1, 0);
    glVertex2f(right, bottom);
    glTexCoord2f(0, 0);
    glVertex2f(0, bottom);
    glEnd();
}

void draw_glow_over_screen() {
    glBindTexture(GL_TEXTURE_2D, glow_texture);
    draw_textured_quad(screen_width, screen_height, 1, 1);
    glDisable(GL_BLEND);
}

// (w * neighbour + v * pixel) >> 8, in place; the neighbour is already
// filtered, which makes each pass a recursive filter.
void blend_towards(unsigned char& pixel, unsigned char neighbour, int w, int v) {
    pixel = static_cast<unsigned char>((w * neighbour + v * pixel) >> 8);
}

void blur_columns(int w, int v) {
    for (int r = 1; r < glow_size; ++r) {
        for (int i = 0; i < glow_row_bytes; ++i) {
            blend_towards(glow_pixels[r * glow_row_bytes + i],
                          glow_pixels[(r - 1) * glow_row_bytes + i], w, v);
        }
    }
    for (int r = glow_size - 2; r >= 0; --r) {
        for (int i = 0; i < glow_row_bytes; ++i) {
            blend_towards(glow_pixels[r * glow_row_bytes + i],
                          glow_pixels[(r + 1) * glow_row_bytes + i], w, v);
        }
    }
}

void blur_rows(int w, int v) {
    for (int r = 0; r < glow_size; ++r) {
        unsigned char* row = glow_pixels + r * glow_row_bytes;
        for (int i = 3; i < glow_row_bytes; ++i) blend_towards(row[i], row[i - 3], w, v);
        for (int i = glow_row_bytes - 4; i >= 0; --i) blend_towards(row[i], row[i + 3], w, v);
    }
}

}  // namespace

void create_render_targets() {
    for (uint32_t& target : screen_targets) target = create_screen_target();
    glow_source = create_blank_texture(source_size, source_size);
    glow_texture = create_blank_texture(glow_size, glow_size);
}

uint32_t create_screen_target() { return create_blank_texture(target_width, target_height); }

void copy_screen(uint32_t texture) {
    begin_overlay();
    glBindTexture(GL_TEXTURE_2D, texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, screen_width, screen_height);
    end_overlay();
}

void draw_screen_target(uint32_t target) {
    glBindTexture(GL_TEXTURE_2D, target);
    draw_textured_quad(screen_width, screen_height, used_s, used_t);
}

void copy_glow_source() {
    begin_overlay();
    glBindTexture(GL_TEXTURE_2D, glow_source);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, screen_height - source_size, source_size,
                        source_size);
    end_overlay();
}

void draw_target_256() {
    begin_overlay();
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, screen_targets[glow_chain_target]);
    draw_textured_quad(source_size, source_size, used_s, used_t);
    end_overlay();
}

void draw_glow_source_128() {
    begin_overlay();
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, glow_source);
    draw_textured_quad(glow_size, glow_size, 1, 1);
    end_overlay();
}

void blur_glow(int weight) {
    // Outside 0 ... 256 one factor would turn negative; no caller means that.
    const int w = std::clamp(weight, 0, 256);
    const int v = 256 - w;
    glReadPixels(0, screen_height - glow_size, glow_size, glow_size, GL_RGB, GL_UNSIGNED_BYTE,
                 glow_pixels);
    work_checkpoint("glow.read_back");
    blur_columns(w, v);
    blur_rows(w, v);
    work_checkpoint("glow.blur");
    glBindTexture(GL_TEXTURE_2D, glow_texture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, glow_size, glow_size, GL_RGB, GL_UNSIGNED_BYTE,
                    glow_pixels);
    end_overlay();
}

void draw_target_full() {
    begin_overlay();
    glDisable(GL_BLEND);
    draw_screen_target(screen_targets[glow_chain_target]);
    end_overlay();
}

void add_glow() {
    begin_overlay();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    draw_glow_over_screen();
    end_overlay();
}

void blend_glow(float red, float green, float blue, float alpha) {
    begin_overlay();
    glColor4f(red, green, blue, alpha);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
    draw_glow_over_screen();
    end_overlay();
}

void set_sphere_map(bool on) {
    if (on) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    } else {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
}
