// Steps the timeline scenes share: the letterbox frame and the glow that
// finish every frame, the full-screen tint, the font atlas, and the sky
// layers and festival name of the two title scenes (intro and outro).
#pragma once

#include <cstdint>

#include "assets/qor_camera.h"

// Black bars top and bottom, the logo and the two festival lines.
void draw_letterbox_frame();
// Drawing limited to the opening between the bars, and back to the whole
// screen. Pixels under the bars need not be drawn when the letterbox frame
// paints them over before anything reads them.
void clip_to_letterbox_opening();
void end_letterbox_clip();
// The soft glow over the finished frame.
void glow_pass();
// The first steps of glow_pass: the frame shrunk and blurred into
// glow_texture, then restored on screen (the glow is not laid over yet).
void blur_frame_into_glow();

// A full-screen quad of one colour blended with (SRC_ALPHA, destination);
// texturing is off only while it draws.
void tint_screen(uint32_t destination_factor, float red, float green, float blue, float alpha);

// The atlas every scene's text uses.
uint32_t font_texture();
// The pose the title scenes hand to the next frame: at the origin looking
// down -z, y up. The field of view is not touched.
void set_origin_pose(camera_record& camera);

constexpr const char* festival_name = "quor vane";
// The five sky quads; layer i turns by p * A_i / divisors[i] degrees.
// Blending is the caller's.
void draw_sky_layers(float p, const float (&divisors)[5]);
// A line at the festival name's place and size (centre of the screen,
// growing with p) in the given colour.
void draw_name_line(const char* text, float p, float red, float green, float blue,
                    float alpha);
// The festival name at that place, a blue copy under a white one, both at alpha.
void draw_festival_name(float p, float alpha);
