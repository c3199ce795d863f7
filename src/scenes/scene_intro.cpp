// The intro: five counter-rotating sky layers added up behind the title,
// a cursor running along the festival name, a white flash and a black
// "TRAVEL" growing towards the end, and a slanted wipe uncovering the
// picture during the first fifth.
#include "scenes/scene_intro.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "engine/qor_font.h"
#include "engine/qor_views.h"
#include "frame/globals.h"
#include "scenes/scene_steps.h"
#include "scenes/show_texts.h"

namespace {

const float intro_sky_divisors[5] = {5, 5, 5, 5, 5};

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

std::string intro_cursor_line(float p) {
    std::string line(std::strlen(festival_name), ' ');
    const long n = std::lrint(150.0 * p);
    line[static_cast<size_t>(n % static_cast<long>(line.size()))] = '_';
    return line;
}

void tscene_intro::init() {}

void tscene_intro::render(int32_t time) {
    const float p = progress(time);

    // The bars cover whatever is drawn under them.
    clip_to_letterbox_opening();
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

    end_letterbox_clip();
    draw_letterbox_frame();
    glow_pass();
}
