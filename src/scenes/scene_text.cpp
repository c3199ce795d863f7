// The word rhythm: sixteen words, one per sixteenth of the window, each over
// one of the first three environments, darkened towards the middle of its
// slot and mostly blurred, with a tunnel of ten counter-rotating net layers
// between the background and the word; then the letterbox frame and glow.
#include "scenes/scene_text.h"

#include <GL/gl.h>

#include <cmath>

#include "assets/scene_globaldata.h"
#include "engine/qor_font.h"
#include "engine/qor_views.h"
#include "engine/render_targets.h"
#include "frame/globals.h"
#include "scenes/environment_steps.h"
#include "scenes/scene_en1.h"
#include "scenes/scene_en2.h"
#include "scenes/scene_en3.h"
#include "scenes/scene_steps.h"

qor_genericscene* text_en1 = nullptr;
qor_genericscene* text_en2 = nullptr;
qor_genericscene* text_en3 = nullptr;

const char* const text_words[text_word_count] = {
    "demo",  "mobile",    "networks", "photo", "blogs", "technics", "music", "animation",
    "graphics", "games", "web",      "all on", "quor", "vne",      "2006",  "soon!"};

namespace {

constexpr int tunnel_layers = 10;
// 16 pi: the darkening pulses once per word slot.
constexpr double slot_pulse = 50.26548245743669;

qor_genericscene* const* const backgrounds[3] = {&text_en1, &text_en2, &text_en3};

// Layer i sits 9 units in front of layer i - 1 and turns faster, neighbours
// in opposite directions.
void draw_tunnel(float p) {
    for (int i = 0; i < tunnel_layers; ++i) {
        glPushMatrix();
        const int turns = i % 2 == 0 ? i + 1 : -(i + 1);
        glRotatef(185 * p * static_cast<float>(turns) / 3, 0, 0, 1);
        glTranslatef(0, 0, -5);
        glColor4f(1, 1, 1, 1);
        glBindTexture(GL_TEXTURE_2D, find_texture(texture_table, "net3"));
        const auto z = static_cast<float>(9 * i - 120);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex3f(-100, -100, z);
        glTexCoord2f(1, 0);
        glVertex3f(100, -100, z);
        glTexCoord2f(1, 1);
        glVertex3f(100, 100, z);
        glTexCoord2f(0, 1);
        glVertex3f(-100, 100, z);
        glEnd();
        glPopMatrix();
    }
}

}  // namespace

int32_t text_word_index(float p) { return static_cast<int32_t>(16.0 * p); }

int32_t text_background_time(float p) { return static_cast<int32_t>(100000.0 * p); }

float text_slot_position(float p) {
    return static_cast<float>(static_cast<int32_t>(160000.0 * p) % 10000) / 10000;
}

void tscene_text::init() {
    prepare_environment(text_en1, new tscene_en1);
    prepare_environment(text_en2, new tscene_en2);
    prepare_environment(text_en3, new tscene_en3);
}

void tscene_text::render(int32_t time) {
    const float p = progress(time);
    const int32_t k = text_word_index(p);

    // Called without saving any matrix: environments leave the stacks as
    // deep as they found them.
    (*backgrounds[k % 3])->render(text_background_time(p));

    const auto v = static_cast<float>(std::fabs(std::sin(slot_pulse * p)));
    glDisable(GL_DEPTH_TEST);
    tint_screen(GL_ONE_MINUS_SRC_ALPHA, 0, 0, 0, v);

    blur_frame_into_glow();
    blend_glow(1, 1, 1, 0.25f);

    glClearColor(0, 0, 0, 0);
    glClear(GL_DEPTH_BUFFER_BIT);

    // The field of view stays as the background's camera path left it.
    set_origin_pose(current_camera);
    apply_camera(current_camera);

    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    draw_tunnel(p);
    glDisable(GL_BLEND);

    const float f = text_slot_position(p);
    const float glyph = 10 * f + 60;
    draw_text(text_words[k], font_texture(), 320, 240, glyph, glyph, 5 * f + 35, 1, 1, 1, 1);

    draw_letterbox_frame();
    glow_pass();
}
