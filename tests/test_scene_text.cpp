// The word-list scene: word and background at every slot (recorded by
// stand-ins in the scene's environment slots), the pulsing darkening, the
// word on screen, the camera pose and the GL state it leaves.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "engine/globalscenes.h"
#include "frame/globals.h"
#include "frame/show_driver.h"
#include "scenes/scene_en1.h"
#include "scenes/scene_en2.h"
#include "scenes/scene_en3.h"
#include "scenes/scene_fader.h"
#include "scenes/scene_text.h"
#include "support/gl_harness.h"
#include "support/scene_standins.h"
#include "support/show_harness.h"

namespace {

constexpr int32_t text_start = 78544;
constexpr int32_t text_end = 91501;

float text_progress(int32_t time) {
    qor_genericscene window;
    window.starttime = text_start;
    window.endtime = text_end;
    return window.progress(time);
}

// The first music time of word slot k: 78544 + 809.8125 k, rounded up.
int32_t slot_start(int k) {
    return text_start + static_cast<int32_t>(std::ceil((text_end - text_start) * k / 16.0));
}

}  // namespace

TEST(TextWords, SixteenWordsExactlyAsListed) {
    const char* expected[text_word_count] = {
        "demo",     "mobile", "networks", "photo",  "blogs", "technics", "music", "animation",
        "graphics", "games",  "web",      "all on", "quor",  "vne",      "2006",  "soon!"};
    for (int k = 0; k < text_word_count; ++k) EXPECT_STREQ(text_words[k], expected[k]) << k;
}

TEST(TextWords, WordIndexChangesAtEverySlotStart) {
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(text_word_index(text_progress(slot_start(k))), k);
        EXPECT_NEAR(slot_start(k), text_start + 809.8 * k, 1);
        if (k > 0) {
            EXPECT_EQ(text_word_index(text_progress(slot_start(k) - 1)), k - 1);
        }
        EXPECT_LT(text_slot_position(text_progress(slot_start(k))), 0.002f) << k;
    }
    EXPECT_EQ(text_word_index(text_progress(text_end - 1)), 15);
    EXPECT_GT(text_slot_position(text_progress(text_end - 1)), 0.99f);
    EXPECT_NEAR(text_slot_position(0.5f / 16), 0.5f, 1e-6);
}

TEST(TextWords, BackgroundClockRunsOnAcrossSlots) {
    EXPECT_EQ(text_background_time(0), 0);
    EXPECT_EQ(text_background_time(0.5f), 50000);
    for (int k = 1; k < 16; ++k) {
        const int32_t before = text_background_time(text_progress(slot_start(k) - 1));
        const int32_t after = text_background_time(text_progress(slot_start(k)));
        EXPECT_GE(after - before, 7) << k;
        EXPECT_LE(after - before, 8) << k;
    }
}

class TextRender : public ::testing::Test {
protected:
    static void SetUpTestSuite() { show_harness_init(); }

    void use_recorders(float level) {
        qor_genericscene** slots[3] = {&text_en1, &text_en2, &text_en3};
        for (int i = 0; i < 3; ++i) {
            recorders[i] = std::make_unique<recording_scene>(level, level, level);
            swaps[i] = std::make_unique<scene_swap>(*slots[i], recorders[i].get());
        }
    }
    void forget_times() {
        for (auto& r : recorders) r->times.clear();
    }

    std::unique_ptr<recording_scene> recorders[3];
    std::unique_ptr<scene_swap> swaps[3];
};

TEST_F(TextRender, OwnsItsOwnWindowedFirstThreeEnvironments) {
    EXPECT_NE(dynamic_cast<tscene_en1*>(text_en1), nullptr);
    EXPECT_NE(dynamic_cast<tscene_en2*>(text_en2), nullptr);
    EXPECT_NE(dynamic_cast<tscene_en3*>(text_en3), nullptr);
    EXPECT_NE(text_en1, fader_en1);
    EXPECT_NE(text_en2, fader_en2);
    EXPECT_NE(text_en3, fader_en3);
    for (qor_genericscene* e : {text_en1, text_en2, text_en3}) {
        EXPECT_EQ(e->starttime, 0);
        EXPECT_EQ(e->endtime, 100000);
    }
}

TEST_F(TextRender, EverySlotRendersItsBackgroundWithTheSceneClock) {
    use_recorders(0);
    for (int k = 0; k < 16; ++k) {
        const int32_t t = slot_start(k);
        forget_times();
        draw_show_frame(t);
        for (int e = 0; e < 3; ++e) {
            if (e == k % 3) {
                EXPECT_EQ(recorders[e]->times,
                          std::vector<int32_t>{text_background_time(text_progress(t))})
                    << k;
            } else {
                EXPECT_TRUE(recorders[e]->times.empty()) << "slot " << k << " env " << e + 1;
            }
        }
    }
    forget_times();
    draw_show_frame(text_end - 1);
    EXPECT_EQ(recorders[0]->times.size(), 1u);
    EXPECT_TRUE(recorders[1]->times.empty());
}

TEST_F(TextRender, BackgroundDarkensWithTheSlotPulse) {
    // Grey backgrounds, a black tunnel: what is left away from the word is
    // the background under the darkening, lifted by the glow pass.
    use_recorders(0.25f);
    texture_swap black_net("net3", flat_texture(0, 0, 0, 255));
    for (int k : {0, 7, 13}) {
        const double slot = (text_end - text_start) / 16.0;
        for (double f : {0.0, 0.25, 0.5}) {
            const auto t = static_cast<int32_t>(std::ceil(slot_start(k) + slot * f));
            const double v = std::fabs(std::sin(50.26548245743669 * text_progress(t)));
            draw_show_frame(t);
            const rgb away = overlay_pixel(90, 150);
            EXPECT_NEAR(away.g, 2 * 64 * (1 - v), 5) << "slot " << k << " at " << f;
        }
    }
}

TEST_F(TextRender, ShowsTheSlotsWordCentred) {
    use_recorders(0);
    texture_swap black_net("net3", flat_texture(0, 0, 0, 255));
    for (int k = 0; k < 16; ++k) {
        draw_show_frame(slot_start(k) + 1);
        const std::vector<uint8_t> frame = read_frame();
        int left = 640;
        int right = -1;
        for (int y = 205; y < 275; ++y) {
            for (int x = 0; x < 640; ++x) {
                if (frame[(static_cast<size_t>(y) * 640 + x) * 3] > 140) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        // Glyph centres 35 apart; each glyph's ink lies inside its 60-pixel cell.
        const int n = static_cast<int>(std::strlen(text_words[k]));
        ASSERT_GE(right, left) << k;
        EXPECT_GE(right - left, (n - 1) * 35) << text_words[k];
        EXPECT_LE(right - left, (n - 1) * 35 + 60) << text_words[k];
        EXPECT_NEAR((left + right) / 2.0, 320, 20) << text_words[k];
    }
}

TEST_F(TextRender, SetsTheOriginPoseAndKeepsTheFieldOfView) {
    use_recorders(0);
    current_camera.fov = 33;
    draw_show_frame(85000);
    EXPECT_EQ(current_camera.fov, 33);
    EXPECT_EQ(current_camera.eye_x, 0);
    EXPECT_EQ(current_camera.eye_y, 0);
    EXPECT_EQ(current_camera.eye_z, 0);
    EXPECT_EQ(current_camera.target_z, -1);
    EXPECT_EQ(current_camera.up_y, 1);
    current_camera.fov = 70;
}

TEST_F(TextRender, LeavesBlendOffTexturingOnDepthTestOff) {
    for (int32_t t : {text_start, 82000, 86000, text_end - 1}) {
        draw_show_frame(t);
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << t;
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << t;
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << t;
        EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST)) << t;
    }
}
