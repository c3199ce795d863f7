// The outro on screen: the greetings line crossing the top bar, the texts'
// fade, the veil that turns the picture black for the second half, the
// camera hand-over and the GL state it leaves.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "frame/globals.h"
#include "frame/show_driver.h"
#include "support/gl_harness.h"
#include "support/scene_standins.h"
#include "support/show_harness.h"

namespace {

constexpr int32_t outro_start = 91501;
constexpr int32_t outro_length = 16499;

int32_t at_progress(double p) { return outro_start + static_cast<int32_t>(outro_length * p); }

// Frames of the outro after one frame at the same time, so that the camera
// pose handed over between frames is in force.
std::vector<uint8_t> settled_frame(int32_t t) {
    draw_show_frame(t);
    draw_show_frame(t);
    return read_frame();
}

class OutroRender : public ::testing::Test {
protected:
    static void SetUpTestSuite() { show_harness_init(); }
};

}  // namespace

TEST_F(OutroRender, GreetingsEnterFromTheRightAndLeaveOverTheLeft) {
    const int start = max_channel(settled_frame(outro_start), 0, 0, 640, 40);
    const int middle = max_channel(settled_frame(at_progress(0.5)), 0, 0, 640, 40);
    const int end = max_channel(settled_frame(outro_start + outro_length - 1), 0, 0, 640, 40);
    EXPECT_LE(start, 8);
    EXPECT_GT(middle, 80);
    EXPECT_LE(end, 8);
    // At a quarter the line covers the right of the bar only (centre 820).
    // The border columns are left out: the glow texture wraps, so column 0
    // shows a trace of the glow at the right border.
    const std::vector<uint8_t> quarter = settled_frame(at_progress(0.25));
    EXPECT_LE(max_channel(quarter, 5, 0, 150, 40), 8);
    EXPECT_GT(max_channel(quarter, 300, 0, 640, 40), 80);
}

TEST_F(OutroRender, TextsAreInvisibleAtTheStart) {
    // With the glyph atlas replaced by solid white cells every visible text
    // would fill its glyph quads; at p = 0 the picture must not change.
    const std::vector<uint8_t> normal = settled_frame(outro_start);
    {
        texture_swap solid("font", flat_texture(255, 255, 255, 255));
        const std::vector<uint8_t> blocks = settled_frame(outro_start);
        EXPECT_EQ(channel_sum(blocks, 0, 70, 640, 360), channel_sum(normal, 0, 70, 640, 360));
    }
    // The same comparison sees texts that are there.
    const std::vector<uint8_t> later = settled_frame(at_progress(0.1));
    texture_swap solid("font", flat_texture(255, 255, 255, 255));
    const std::vector<uint8_t> later_blocks = settled_frame(at_progress(0.1));
    EXPECT_GT(channel_sum(later_blocks, 0, 70, 640, 360), channel_sum(later, 0, 70, 640, 360) + 1e5);
}

TEST_F(OutroRender, SkyIsVisibleAtTheStartAndVeiledBlackAfterTheMiddle) {
    const std::vector<uint8_t> start = settled_frame(outro_start);
    EXPECT_GT(channel_sum(start, 0, 80, 640, 130) / (640 * 50 * 3), 20);
    // Between and around the texts nothing of the sky is left, although
    // sin(pi p) alone would let a large part of it through.
    for (double p : {0.55, 0.7, 0.9, 0.99}) {
        const std::vector<uint8_t> frame = settled_frame(at_progress(p));
        EXPECT_LE(max_channel(frame, 0, 70, 640, 125), 16) << p;
        EXPECT_LE(max_channel(frame, 0, 370, 640, 405), 16) << p;
    }
}

TEST_F(OutroRender, NameAndLinesPeakInTheMiddleAndFadeOut) {
    const double middle = channel_sum(settled_frame(at_progress(0.5)), 0, 140, 640, 360);
    const double late = channel_sum(settled_frame(at_progress(0.9)), 0, 140, 640, 360);
    const double end = channel_sum(settled_frame(outro_start + outro_length - 1), 0, 140, 640, 360);
    EXPECT_GT(middle, 1e6);
    // sin(0.9 pi) = 0.31, on glyphs that have grown by then.
    EXPECT_GT(late / middle, 0.2);
    EXPECT_LT(late / middle, 0.7);
    EXPECT_LT(end / middle, 0.01);
}

TEST_F(OutroRender, HandsTheOriginPoseToTheNextFrameAndKeepsTheFieldOfView) {
    current_camera.fov = 55;
    set_camera(current_camera, 0, 0, -10, 0, 0, 10, 0, 10, 0);
    draw_show_frame(outro_start + 100);
    // This frame looked away from the sky (the pose it found).
    EXPECT_LE(max_channel(read_frame(), 0, 80, 640, 130), 16);
    EXPECT_EQ(current_camera.fov, 55);
    EXPECT_EQ(current_camera.eye_z, 0);
    EXPECT_EQ(current_camera.target_z, -1);
    EXPECT_EQ(current_camera.up_y, 1);
    draw_show_frame(outro_start + 100);
    EXPECT_GT(channel_sum(read_frame(), 0, 80, 640, 130) / (640 * 50 * 3), 20);
    current_camera.fov = 70;
}

TEST_F(OutroRender, LeavesBlendOffTexturingOnDepthTestOff) {
    for (double p : {0.0, 0.3, 0.6, 0.9999}) {
        draw_show_frame(at_progress(p));
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << p;
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << p;
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << p;
        EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST)) << p;
    }
}
