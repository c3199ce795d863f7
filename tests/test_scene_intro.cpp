// The intro on screen: the wipe, the letterbox frame, the flash and
// "TRAVEL", the walking cursor, the camera hand-over between frames and the
// GL state it leaves.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "frame/globals.h"
#include "frame/show_driver.h"
#include "scenes/scene_intro.h"
#include "support/gl_harness.h"
#include "support/scene_standins.h"
#include "support/show_harness.h"

namespace {

constexpr int32_t intro_length = 13769;

int32_t at_progress(double p) { return static_cast<int32_t>(intro_length * p); }

// A frame after one at the same time, so that the pose handed over between
// frames is in force.
std::vector<uint8_t> settled_frame(int32_t t) {
    draw_show_frame(t);
    draw_show_frame(t);
    return read_frame();
}

double mean_level(const std::vector<uint8_t>& frame, int x0, int y0, int x1, int y1) {
    return channel_sum(frame, x0, y0, x1, y1) / ((x1 - x0) * (y1 - y0) * 3);
}

class IntroRender : public ::testing::Test {
protected:
    static void SetUpTestSuite() { show_harness_init(); }
};

}  // namespace

TEST(IntroCursor, WalksAlongTheNameAndWraps) {
    EXPECT_EQ(intro_cursor_line(0), "_        ");
    EXPECT_EQ(intro_cursor_line(1.0f / 150), " _       ");
    EXPECT_EQ(intro_cursor_line(8.0f / 150), "        _");
    EXPECT_EQ(intro_cursor_line(9.0f / 150), "_        ");
    // To the nearest step: 150 p = 3.4 gives index 3, 3.6 gives index 4.
    EXPECT_EQ(intro_cursor_line(3.4f / 150), "   _     ");
    EXPECT_EQ(intro_cursor_line(3.6f / 150), "    _    ");
    EXPECT_EQ(intro_cursor_line(0.999f).find('_'), 6u);  // 150 p rounds to 150, 150 mod 9 = 6
}

TEST_F(IntroRender, FirstFrameIsBlackBetweenTheBarsAndInTheBarsButLogoAndLines) {
    draw_show_frame(0);
    const std::vector<uint8_t> frame = read_frame();
    EXPECT_EQ(max_channel(frame, 0, 0, 640, 60), 0);
    EXPECT_LE(max_channel(frame, 0, 60, 640, 400), 2);
    // Bottom bar: logo and the two lines, black to their right.
    EXPECT_GT(mean_level(frame, 10, 430, 50, 470), 20);
    EXPECT_GT(max_channel(frame, 150, 434, 490, 450), 100);
    EXPECT_GT(max_channel(frame, 100, 450, 540, 466), 100);
    EXPECT_LE(max_channel(frame, 600, 424, 640, 480), 10);
}

TEST_F(IntroRender, WipeUncoversTheLeftOfASlantedEdge) {
    // The last columns are left out: the glow texture wraps, so the right
    // border picks up glow from the left edge of the picture.
    // p = 0.1: edge from (320, 0) to (512, 480); at y = 120 it is at x = 368.
    const std::vector<uint8_t> early = settled_frame(at_progress(0.1));
    EXPECT_GT(mean_level(early, 200, 110, 300, 130), 15);
    EXPECT_LE(max_channel(early, 420, 110, 630, 130), 6);
    // p = 0.15: only the triangle (480, 0), (640, 0), (640, 480) stays black;
    // a quad split the other way would leave most of it uncovered.
    const std::vector<uint8_t> late = settled_frame(at_progress(0.15));
    EXPECT_GT(mean_level(late, 300, 110, 480, 130), 15);
    EXPECT_LE(max_channel(late, 600, 230, 630, 250), 6);
    EXPECT_LE(max_channel(late, 560, 90, 630, 110), 6);
    EXPECT_GT(mean_level(late, 500, 380, 580, 400), 15);
    // From p = 0.2 on nothing is wiped.
    const std::vector<uint8_t> open = settled_frame(at_progress(0.21));
    EXPECT_GT(mean_level(open, 560, 230, 639, 250), 15);
}

namespace {

// Share of pixels in a band whose brightest channel is below 100.
double dark_share(const std::vector<uint8_t>& frame, int y0, int y1) {
    int dark = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = 0; x < 639; ++x) dark += max_channel(frame, x, y, x + 1, y + 1) < 100;
    }
    return static_cast<double>(dark) / ((y1 - y0) * 639);
}

}  // namespace

TEST_F(IntroRender, FlashWhitensTheEndAndTravelDarkensTheCentre) {
    const std::vector<uint8_t> middle = settled_frame(at_progress(0.5));
    const std::vector<uint8_t> later = settled_frame(at_progress(0.7));
    const std::vector<uint8_t> before = settled_frame(12391);
    const std::vector<uint8_t> end = settled_frame(13700);
    // Flash p^9: nothing to see at p = 0.7, the picture white by the end.
    EXPECT_LT(mean_level(middle, 0, 80, 639, 120), 200);
    EXPECT_LT(mean_level(later, 0, 80, 639, 120), mean_level(middle, 0, 80, 639, 120) + 40);
    EXPECT_GT(mean_level(end, 0, 80, 639, 120), 250);
    // "TRAVEL" (from p > 0.9, about 12392 ms) cuts dark letters into the
    // white middle band; the flash leaves no dark pixel anywhere else.
    EXPECT_EQ(dark_share(before, 200, 280), 0);
    EXPECT_GT(dark_share(end, 200, 280), 0.1);
    EXPECT_EQ(dark_share(end, 80, 120), 0);
}

TEST_F(IntroRender, HandsTheOriginPoseToTheNextFrameAndKeepsTheFieldOfView) {
    current_camera.fov = 60;
    set_camera(current_camera, 0, 0, -10, 0, 0, 10, 0, 10, 0);
    draw_show_frame(at_progress(0.5));
    // The frame used the pose it found, facing away from the sky layers.
    const double away = mean_level(read_frame(), 0, 80, 640, 120);
    EXPECT_EQ(current_camera.fov, 60);
    EXPECT_EQ(current_camera.eye_x, 0);
    EXPECT_EQ(current_camera.eye_z, 0);
    EXPECT_EQ(current_camera.target_z, -1);
    EXPECT_EQ(current_camera.up_y, 1);
    draw_show_frame(at_progress(0.5));
    EXPECT_GT(mean_level(read_frame(), 0, 80, 640, 120), away + 15);
    current_camera.fov = 70;
}

TEST_F(IntroRender, LeavesBlendOffTexturingOnDepthTestOff) {
    for (double p : {0.0, 0.1, 0.5, 0.95}) {
        draw_show_frame(at_progress(p));
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << p;
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << p;
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << p;
        EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST)) << p;
    }
}
