// The intro: turning sky layers behind the title, flash, "TRAVEL" and wipe;
// and the finishing steps every timeline scene shares.
#pragma once

#include <cstdint>
#include <string>

#include "assets/qor_camera.h"
#include "engine/qor_scenes.h"

class tscene_intro : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};

// Black bars top and bottom, the logo and the two festival lines.
void draw_letterbox_frame();
// The soft glow over the finished frame.
void glow_pass();

// The first steps of glow_pass: the frame shrunk and blurred into
// glow_texture, then restored on screen (the glow is not laid over yet).
void blur_frame_into_glow();

// The atlas every scene's text uses.
uint32_t font_texture();
// The pose the title scenes hand to the next frame: at the origin looking
// down -z, y up. The field of view is not touched.
void set_origin_pose(camera_record& camera);
// The five sky quads; layer i turns by p * A_i / divisors[i] degrees.
// Blending is the caller's.
void draw_sky_layers(float p, const float (&divisors)[5]);
// A line at the festival name's place and size (centre of the screen,
// growing with p) in the given colour.
void draw_name_line(const char* text, float p, float red, float green, float blue,
                    float alpha);
// "quor vane" at that place, a blue copy under a white one, both at alpha.
void draw_festival_name(float p, float alpha);
// A full-screen quad of one colour blended with (SRC_ALPHA, destination);
// texturing is off only while it draws.
void tint_screen(uint32_t destination_factor, float red, float green, float blue, float alpha);

// The intro's walking cursor: "quor vane" as blanks with "_" at the
// character that 150 * p (to nearest, halves to even) selects, wrapping.
std::string intro_cursor_line(float p);
