// The outro: the intro's sky layers sink under a black veil during the
// first half while the festival name and five lines fade in and out; the
// letterbox frame sits on top, the greetings scroll through the top bar
// from right to left, and the glow finishes the frame.
#include "scenes/scene_outro.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

#include "engine/qor_font.h"
#include "frame/globals.h"
#include "scenes/scene_steps.h"
#include "scenes/show_texts.h"

namespace {

// The first four layers turn faster than in the intro.
const float outro_sky_divisors[5] = {3, 3, 3, 3, 5};

struct closing_line {
    const char* text;
    float y;
};

const closing_line closing_lines[5] = {
    {outro_place_line, 180},
    {"computer art festival", 160},
    {outro_web_line, 340},
    {"non stop party experience for creative people", 300},
    {"demo graphics music animation web mobile", 320},
};

// Pixels the greetings line travels per unit of progress.
constexpr float greetings_scroll = 2000;

}  // namespace

void tscene_outro::init() {}

void tscene_outro::render(int32_t time) {
    const float p = progress(time);

    // The bars cover whatever is drawn under them.
    clip_to_letterbox_opening();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // The pose set here is applied by the next frame, after the editor step.
    apply_camera(current_camera);
    set_origin_pose(current_camera);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glScalef(1.5f, 1.5f, 1);
    draw_sky_layers(p, outro_sky_divisors);
    glDisable(GL_BLEND);

    const auto s = static_cast<float>(std::sin(std::numbers::pi * p));
    const float veil = p > 0.5 ? 1 : s;
    tint_screen(GL_ONE_MINUS_SRC_ALPHA, 0, 0, 0, veil);

    draw_festival_name(p, s);
    const float glyph = 4 * p + 15;
    for (const closing_line& line : closing_lines) {
        draw_text(line.text, font_texture(), 320, line.y, glyph, glyph, 10, 1, 1, 1, s);
    }

    end_letterbox_clip();
    draw_letterbox_frame();
    draw_text(greetings_line, font_texture(), (0.5f - p) * greetings_scroll + 320, 32, 30, 30,
              15, 1, 1, 1, 0.4f);
    glow_pass();
}
