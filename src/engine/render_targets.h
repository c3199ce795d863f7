// Textures that frames are copied into, and the effects built on them:
// frame copies, drawing targets back, and the glow.
#pragma once

#include <cstdint>

// Created by create_render_targets; the conductor and the glow pass copy
// frames into the screen targets and draw them back.
constexpr int screen_target_count = 4;
extern uint32_t screen_targets[screen_target_count];  // 1024x512 each
extern uint32_t glow_source;                          // 256x256
extern uint32_t glow_texture;                         // 128x128

// Creates the six targets in order: screen targets 1-4, glow_source, glow_texture.
void create_render_targets();
// A new blank texture of a screen target's size, for copy_screen and
// draw_screen_target.
uint32_t create_screen_target();

void copy_screen(uint32_t texture);
// Binds a screen target and draws its used 640x480 part over the whole
// screen in overlay space; changes no other state.
void draw_screen_target(uint32_t target);
void copy_glow_source();
void draw_target_256();
void draw_glow_source_128();
// Weights outside 0 ... 256 are clamped.
void blur_glow(int weight);
void draw_target_full();
void add_glow();
void blend_glow(float red, float green, float blue, float alpha);
void set_sphere_map(bool on);
