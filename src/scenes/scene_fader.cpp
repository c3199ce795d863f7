// The environment conductor: in each fifth of its window it renders the
// current environment and, once the incoming one's weight e^7 has grown past
// 1/51, copies it into screen target 1, renders the incoming environment
// into target 2 and lays both over the screen; then come the letterbox
// frame, the segment's caption fading out in the top bar, and the glow.
// While only the current environment shows, its picture stays where it was
// drawn: copying it into a target and drawing that back would give the same
// pixels.
#include "scenes/scene_fader.h"

#include <GL/gl.h>

#include <cmath>

#include "engine/qor_font.h"
#include "engine/qor_views.h"
#include "engine/render_targets.h"
#include "engine/work_steps.h"
#include "scenes/environment_steps.h"
#include "scenes/scene_en1.h"
#include "scenes/scene_en2.h"
#include "scenes/scene_en3.h"
#include "scenes/scene_en4.h"
#include "scenes/scene_en5.h"
#include "scenes/scene_en6.h"
#include "scenes/scene_steps.h"

qor_genericscene* fader_en1 = nullptr;
qor_genericscene* fader_en2 = nullptr;
qor_genericscene* fader_en3 = nullptr;
qor_genericscene* fader_en4 = nullptr;
qor_genericscene* fader_en5 = nullptr;
qor_genericscene* fader_en6 = nullptr;

namespace {

// Below this weight the incoming environment is not rendered at all.
constexpr double least_visible_weight = 1.0 / 51;

// An environment's local time in a segment is trunc(span * e + start).
struct segment_plan {
    qor_genericscene* const* current;
    double current_span;
    double current_start;
    qor_genericscene* const* incoming;
    double incoming_span;
    const char* caption;
};

// en1, en3, en4 and en5 play the first half of their span while fading in
// and the second half as the current picture of the next segment; en2 and
// en6 play their whole span within one segment.
const segment_plan segments[fader_segment_count] = {
    {&fader_en2, 100000, 0, &fader_en1, 50000, "welcome to digital art festival"},
    {&fader_en1, 50000, 50000, &fader_en3, 50000, "a place to show your talent"},
    {&fader_en3, 50000, 50000, &fader_en4, 50000, "to expand all technical limits"},
    {&fader_en4, 50000, 50000, &fader_en5, 50000, "conquer all the world"},
    {&fader_en5, 50000, 50000, &fader_en6, 100000, "join the community of creative people"},
};

void render_environment(qor_genericscene* environment, int32_t local_time) {
    glLoadIdentity();
    glPushMatrix();
    environment->render(local_time);
    glPopMatrix();
}

}  // namespace

fader_position fader_position_at(float p) {
    const double scaled = double{fader_segment_count} * p;
    const auto segment = static_cast<int32_t>(scaled);
    const auto e = static_cast<float>(scaled - segment);
    auto w = static_cast<float>(std::pow(static_cast<double>(e), 7));
    if (w < least_visible_weight) w = 0;
    return {segment, e, w};
}

int32_t fader_current_time(int32_t segment, float e) {
    const segment_plan& plan = segments[segment];
    return static_cast<int32_t>(plan.current_span * e + plan.current_start);
}

int32_t fader_incoming_time(int32_t segment, float e) {
    return static_cast<int32_t>(segments[segment].incoming_span * e);
}

void tscene_fader::init() {
    prepare_environment(fader_en1, new tscene_en1);
    prepare_environment(fader_en2, new tscene_en2);
    prepare_environment(fader_en3, new tscene_en3);
    prepare_environment(fader_en4, new tscene_en4);
    prepare_environment(fader_en5, new tscene_en5);
    prepare_environment(fader_en6, new tscene_en6);
}

void tscene_fader::render(int32_t time) {
    const float p = progress(time);
    const fader_position at = fader_position_at(p);
    const segment_plan& plan = segments[at.segment];

    // The bars cover whatever the environments draw under them.
    clip_to_letterbox_opening();
    render_environment(*plan.current, fader_current_time(at.segment, at.e));
    work_checkpoint("conductor.current");
    if (at.w != 0) {
        copy_screen(screen_targets[0]);
        work_checkpoint("conductor.copy_current");
        render_environment(*plan.incoming, fader_incoming_time(at.segment, at.e));
        work_checkpoint("conductor.incoming");
        copy_screen(screen_targets[1]);
        work_checkpoint("conductor.copy_incoming");
    }
    end_letterbox_clip();

    glClear(GL_DEPTH_BUFFER_BIT);

    if (at.w != 0) {
        begin_overlay();
        glColor4f(1, 1, 1, 1);
        draw_screen_target(screen_targets[0]);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(1, 1, 1, at.w);
        draw_screen_target(screen_targets[1]);
        glDisable(GL_BLEND);
        end_overlay();
    }

    draw_letterbox_frame();
    draw_text(plan.caption, font_texture(), 320, 30, 30, 30 + 2 * p, 16, 1, 1, 1, 1 - at.e);
    glow_pass();
}
