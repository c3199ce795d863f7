// The environment conductor: segment arithmetic, which environment renders
// with which local time (recorded by stand-ins in the conductor's slots),
// the cross-fade and caption on screen, and the GL state it leaves.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/globalscenes.h"
#include "frame/show_driver.h"
#include "scenes/scene_en1.h"
#include "scenes/scene_en2.h"
#include "scenes/scene_en3.h"
#include "scenes/scene_en4.h"
#include "scenes/scene_en5.h"
#include "scenes/scene_en6.h"
#include "scenes/scene_fader.h"
#include "support/gl_harness.h"
#include "support/scene_standins.h"
#include "support/show_harness.h"

namespace {

constexpr int32_t fader_start = 13769;
constexpr int32_t fader_end = 78544;

float fader_progress(int32_t time) {
    qor_genericscene window;
    window.starttime = fader_start;
    window.endtime = fader_end;
    return window.progress(time);
}

fader_position at_time(int32_t time) { return fader_position_at(fader_progress(time)); }

// The first music time of a segment at which the incoming environment shows.
int32_t first_incoming_time(int32_t segment) {
    for (int32_t t = fader_start; t < fader_end; ++t) {
        const fader_position at = at_time(t);
        if (at.segment == segment && at.w != 0) return t;
    }
    return -1;
}

}  // namespace

TEST(FaderSegments, BeginEveryFifthOfTheWindow) {
    const int32_t expected[5] = {13769, 26724, 39679, 52634, 65589};
    int32_t segment = -1;
    int found = 0;
    for (int32_t t = fader_start; t < fader_end; ++t) {
        const fader_position at = at_time(t);
        if (at.segment != segment) {
            ASSERT_EQ(at.segment, segment + 1) << t;
            EXPECT_NEAR(t, expected[found], 1);
            EXPECT_LT(at.e, 0.0001f);
            segment = at.segment;
            ++found;
        }
    }
    EXPECT_EQ(found, 5);
}

TEST(FaderSegments, IncomingWeightStaysZeroUntilTheSeventhPowerReachesOneFiftyFirst) {
    for (int32_t segment = 0; segment < 5; ++segment) {
        const int32_t t = first_incoming_time(segment);
        ASSERT_GT(t, 0);
        const fader_position at = at_time(t);
        const fader_position before = at_time(t - 1);
        EXPECT_EQ(before.w, 0.0f);
        EXPECT_LT(std::pow(before.e, 7), 1.0 / 51);
        EXPECT_GE(std::pow(at.e, 7), 1.0 / 51);
        EXPECT_NEAR(at.w, 1.0 / 51, 0.0005);
        // About 7388 ms into each 12955 ms segment: e = (1/51)^(1/7).
        EXPECT_NEAR(at.e, std::pow(1.0 / 51, 1.0 / 7), 0.0001);
    }
    EXPECT_NEAR(first_incoming_time(0) - fader_start, 7388, 2);
    // Full opacity is approached at the end of the segment.
    EXPECT_GT(at_time(fader_end - 1).w, 0.999f);
    EXPECT_NEAR(at_time(26000).w, std::pow(at_time(26000).e, 7), 1e-6);
}

TEST(FaderSegments, LocalTimesFollowTheSegmentTableAndTruncate) {
    const fader_position at = at_time(40000);
    EXPECT_EQ(at.segment, 2);
    EXPECT_EQ(at.w, 0.0f);
    EXPECT_EQ(fader_current_time(at.segment, at.e), 51238);

    EXPECT_EQ(fader_current_time(0, 0), 0);
    EXPECT_EQ(fader_current_time(0, 0.5f), 50000);
    EXPECT_EQ(fader_current_time(1, 0), 50000);
    EXPECT_EQ(fader_current_time(1, 0.99999f), 99999);
    EXPECT_EQ(fader_incoming_time(1, 0.99999f), 49999);
    EXPECT_EQ(fader_incoming_time(3, 0.5f), 25000);
    EXPECT_EQ(fader_incoming_time(4, 0.5f), 50000);
    EXPECT_EQ(fader_incoming_time(4, 0.75f), 75000);
    // An environment handed over from incoming to current keeps its clock.
    for (int32_t segment = 0; segment < 4; ++segment) {
        EXPECT_EQ(fader_incoming_time(segment, 0.99999f) + 1, fader_current_time(segment + 1, 0));
    }
}

class FaderRender : public ::testing::Test {
protected:
    static void SetUpTestSuite() { show_harness_init(); }

    // The conductor's six slots served by flat-colour recorders.
    void use_recorders(const float (&colours)[6][3]) {
        qor_genericscene** slots[6] = {&fader_en1, &fader_en2, &fader_en3,
                                       &fader_en4, &fader_en5, &fader_en6};
        for (int i = 0; i < 6; ++i) {
            recorders[i] = std::make_unique<recording_scene>(colours[i][0], colours[i][1],
                                                             colours[i][2]);
            swaps[i] = std::make_unique<scene_swap>(*slots[i], recorders[i].get());
        }
    }
    void use_black_recorders() {
        const float black[6][3] = {};
        use_recorders(black);
    }
    const std::vector<int32_t>& times_of(int environment) {
        return recorders[environment - 1]->times;
    }
    void forget_times() {
        for (auto& r : recorders) r->times.clear();
    }

    std::unique_ptr<recording_scene> recorders[6];
    std::unique_ptr<scene_swap> swaps[6];
};

TEST_F(FaderRender, OwnsOneWindowedInstanceOfEachEnvironment) {
    EXPECT_NE(dynamic_cast<tscene_en1*>(fader_en1), nullptr);
    EXPECT_NE(dynamic_cast<tscene_en2*>(fader_en2), nullptr);
    EXPECT_NE(dynamic_cast<tscene_en3*>(fader_en3), nullptr);
    EXPECT_NE(dynamic_cast<tscene_en4*>(fader_en4), nullptr);
    EXPECT_NE(dynamic_cast<tscene_en5*>(fader_en5), nullptr);
    EXPECT_NE(dynamic_cast<tscene_en6*>(fader_en6), nullptr);
    for (qor_genericscene* e : {fader_en1, fader_en2, fader_en3, fader_en4, fader_en5, fader_en6}) {
        EXPECT_EQ(e->starttime, 0);
        EXPECT_EQ(e->endtime, 100000);
    }
    EXPECT_EQ(scene_table[1]->starttime, fader_start);
    EXPECT_EQ(scene_table[1]->endtime, fader_end);
}

TEST_F(FaderRender, At40000RendersOnlyTheCityAtItsLocalTime) {
    use_black_recorders();
    draw_show_frame(40000);
    EXPECT_EQ(times_of(3), std::vector<int32_t>{51238});
    EXPECT_TRUE(times_of(4).empty());
    for (int e : {1, 2, 5, 6}) EXPECT_TRUE(times_of(e).empty()) << e;
}

TEST_F(FaderRender, EachSegmentRendersItsPairFromTheFirstVisibleWeightOn) {
    use_black_recorders();
    const int current[5] = {2, 1, 3, 4, 5};
    const int incoming[5] = {1, 3, 4, 5, 6};
    for (int32_t segment = 0; segment < 5; ++segment) {
        const int32_t t = first_incoming_time(segment);
        forget_times();
        draw_show_frame(t - 1);
        const fader_position before = at_time(t - 1);
        EXPECT_EQ(times_of(current[segment]),
                  std::vector<int32_t>{fader_current_time(segment, before.e)});
        EXPECT_TRUE(times_of(incoming[segment]).empty()) << segment;

        forget_times();
        draw_show_frame(t);
        const fader_position at = at_time(t);
        EXPECT_EQ(times_of(current[segment]),
                  std::vector<int32_t>{fader_current_time(segment, at.e)});
        EXPECT_EQ(times_of(incoming[segment]),
                  std::vector<int32_t>{fader_incoming_time(segment, at.e)});
    }
}

TEST_F(FaderRender, CrossFadesTheIncomingEnvironmentWithWeightW) {
    // Segment 1: en1 (red) is current, en3 (blue) comes in.
    const float colours[6][3] = {{0.25f, 0, 0}, {0, 0, 0}, {0, 0, 0.25f},
                                 {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    use_recorders(colours);
    // A flat picture comes back from the glow pass at about twice its level
    // (three quarters of the frame plus one and a quarter of its glow), less
    // a few levels that the blur's integer steps lose.
    for (int32_t t : {30000, 36000, 38000, 39000, 39600}) {
        draw_show_frame(t);
        const float w = at_time(t).w;
        const rgb centre = overlay_pixel(320, 240);
        EXPECT_LE(centre.r, 2 * 64 * (1 - w) + 2) << t;
        EXPECT_GE(centre.r, 2 * 64 * (1 - w) - 10) << t;
        EXPECT_LE(centre.b, 2 * 64 * w + 2) << t;
        EXPECT_GE(centre.b, 2 * 64 * w - 10) << t;
        EXPECT_EQ(centre.g, 0) << t;
        // The composite covers the last column too: no seam of the last
        // rendered environment at full strength.
        const rgb edge = overlay_pixel(639, 240);
        const rgb inside = overlay_pixel(638, 240);
        EXPECT_NEAR(edge.r, inside.r, 3) << t;
        EXPECT_NEAR(edge.b, inside.b, 3) << t;
    }
}

TEST_F(FaderRender, CaptionFadesOutOverItsSegment) {
    use_black_recorders();
    auto caption_light = [](int32_t t) {
        draw_show_frame(t);
        return channel_sum(read_frame(), 0, 5, 640, 55);
    };
    for (int32_t segment_start : {13769, 26724, 39679, 52634, 65589}) {
        const double full = caption_light(segment_start + 1);
        ASSERT_GT(full, 1e5) << segment_start;
        for (double e : {0.25, 0.5, 0.75}) {
            const auto t = static_cast<int32_t>(segment_start + 12955 * e);
            EXPECT_NEAR(caption_light(t) / full, 1 - e, 0.05) << segment_start << " e " << e;
        }
        EXPECT_LT(caption_light(segment_start + 12950) / full, 0.01) << segment_start;
    }
}

TEST_F(FaderRender, LeavesBlendOffTexturingOnDepthTestOff) {
    for (int32_t t : {13769, 30000, 40000, 78543}) {
        draw_show_frame(t);
        EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST)) << t;
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << t;
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << t;
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << t;
        EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST)) << t;
    }
}
