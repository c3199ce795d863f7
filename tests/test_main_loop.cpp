// The frame driver over the scene table, the message loop's ways to end, and
// the shared random generator.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "engine/globalscenes.h"
#include "engine/music_clock.h"
#include "frame/globals.h"
#include "frame/main_loop.h"
#include "frame/window.h"
#include "platform/platform.h"
#include "support/gl_harness.h"

namespace {

// Stands in for a timeline scene and records every render call.
struct recording_scene : qor_genericscene {
    int slot = 0;
    static std::vector<int>* log;
    void render(int32_t) override {
        if (log != nullptr) log->push_back(slot);
        std::fprintf(stderr, "rendered slot %d\n", slot);
    }
};
std::vector<int>* recording_scene::log = nullptr;

std::vector<int32_t> clock_script;
size_t clock_index = 0;
int32_t scripted_clock() {
    if (clock_index > clock_script.size() + 10) {
        ADD_FAILURE() << "the loop kept drawing frames";
        key_state[27] = -1;
    }
    const int32_t t = clock_script[std::min(clock_index, clock_script.size() - 1)];
    ++clock_index;
    return t;
}

class FrameDriver : public ::testing::Test {
protected:
    recording_scene scenes[4];
    std::vector<int> rendered;

    void SetUp() override {
        gl_harness_init();
        platform::register_class("OpenGl", window_proc);
        static const int32_t windows[5] = {0, 13769, 78544, 91501, 108000};
        for (qor_genericscene*& slot : scene_table) slot = nullptr;
        for (int i = 0; i < 4; ++i) {
            scenes[i].slot = i;
            scenes[i].starttime = windows[i];
            scenes[i].endtime = windows[i + 1];
            scene_table[i] = &scenes[i];
        }
        recording_scene::log = &rendered;
        for (int32_t& k : key_state) k = 0;
        platform::message drained;
        while (platform::peek_message(drained)) {
        }
    }
    void TearDown() override {
        recording_scene::log = nullptr;
        set_music_clock_source(nullptr);
        for (qor_genericscene*& slot : scene_table) slot = nullptr;
    }
    void play(std::vector<int32_t> times) {
        clock_script = std::move(times);
        clock_index = 0;
        set_music_clock_source(scripted_clock);
    }
};

TEST_F(FrameDriver, RendersExactlyTheSlotWhoseWindowHoldsTheTime) {
    const std::pair<int32_t, std::vector<int>> cases[] = {
        {0, {0}}, {13768, {0}}, {13769, {1}}, {78544, {2}}, {91500, {2}},
        {107999, {3}}, {108000, {}}, {-5, {}},
    };
    for (const auto& [time, expected] : cases) {
        rendered.clear();
        play({time});
        draw_frame();
        EXPECT_EQ(rendered, expected) << "music time " << time;
        EXPECT_EQ(music_time, time);
        EXPECT_EQ(key_state[27], 0) << "music time " << time;
    }
}

TEST_F(FrameDriver, LoopEndsAfterTheFramePastTheOutro) {
    play({107998, 107999, 108000, 108001, 108002});
    message_loop();
    EXPECT_EQ(rendered, (std::vector<int>{3, 3}));
    EXPECT_EQ(clock_index, 4u) << "frames 107998, 107999, 108000 and 108001 are drawn";
    EXPECT_NE(key_state[27], 0);
}

TEST_F(FrameDriver, EscapeEndsTheLoopAfterThatFrame) {
    play({500});
    platform::dispatch_message({platform::WM_KEYDOWN, platform::VK_ESCAPE, 0});
    message_loop();
    EXPECT_EQ(rendered, (std::vector<int>{0}));
}

TEST_F(FrameDriver, EscapeTappedWithinOneFrameStillEndsTheLoop) {
    play({500});
    platform::dispatch_message({platform::WM_KEYDOWN, platform::VK_ESCAPE, 0});
    platform::dispatch_message({platform::WM_KEYUP, platform::VK_ESCAPE, 0});
    message_loop();
    EXPECT_EQ(rendered, (std::vector<int>{0}));
    EXPECT_EQ(key_state[27], 0) << "the key itself is up again";
}

TEST_F(FrameDriver, QuitAsFirstMessageDrawsNoFrame) {
    play({500});
    platform::post_quit_message(0);
    message_loop();
    EXPECT_TRUE(rendered.empty());
}

TEST_F(FrameDriver, CloseBoxEndsTheLoopThroughQuit) {
    play({500});
    platform::dispatch_message({platform::WM_CLOSE, 0, 0});
    message_loop();
    EXPECT_TRUE(rendered.empty());
}

TEST_F(FrameDriver, LastTimeBeforeTheEmergencyEndIsDrawn) {
    play({223999});
    draw_frame();
    EXPECT_TRUE(rendered.empty());
    EXPECT_NE(key_state[27], 0);
}

TEST_F(FrameDriver, EmergencyEndExitsWithStatusZeroWithoutDrawing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    scenes[3].endtime = 300000;  // a window that would hold the time
    play({224000});
    EXPECT_EXIT(draw_frame(), ::testing::ExitedWithCode(0),
                ::testing::Not(::testing::HasSubstr("rendered")));
}

TEST(SceneProgress, WindowEdges) {
    qor_genericscene fader;
    fader.starttime = 13769;
    fader.endtime = 78544;
    EXPECT_EQ(fader.progress(13769), 0.0f);
    EXPECT_EQ(fader.progress(78543), static_cast<float>(64774.0 / 64775.0));
    EXPECT_LT(fader.progress(78543), 1.0f);
    EXPECT_EQ(fader.progress(78544), -1.0f);
    EXPECT_EQ(fader.progress(13768), -1.0f);
    EXPECT_EQ(fader.progress(-40000), -1.0f);
    EXPECT_NEAR(fader.progress(40000), 0.40496f, 1e-5f);

    qor_genericscene empty;
    EXPECT_EQ(empty.progress(0), -1.0f);
    EXPECT_EQ(empty.progress(-1), -1.0f);
    EXPECT_EQ(empty.progress(100), -1.0f);
}

TEST(SceneTable, FourContiguousWindowsAndEmptySlots) {
    create_scene_table();
    const int32_t edges[5] = {0, 13769, 78544, 91501, 108000};
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(scene_table[i], nullptr);
        EXPECT_EQ(scene_table[i]->starttime, edges[i]);
        EXPECT_EQ(scene_table[i]->endtime, edges[i + 1]);
    }
    for (int i = 4; i < scene_table_slots; ++i) EXPECT_EQ(scene_table[i], nullptr);
}

TEST(RandomInt, SequenceFromTheStartSeed) {
    set_random_seed(initial_random_seed);
    EXPECT_EQ(random_int(10), 9u);
    EXPECT_EQ(random_int(10), 2u);
    EXPECT_EQ(random_int(10), 1u);
}

TEST(RandomInt, BoundZeroGivesZeroAndStillAdvances) {
    set_random_seed(initial_random_seed);
    EXPECT_EQ(random_int(0), 0u);
    EXPECT_EQ(random_seed(), initial_random_seed * 134775813u + 1u);
    EXPECT_EQ(random_int(10), 2u) << "the zero-bound draw used up the first value";
}

// Draws from a seed computed here, independently of the generator: the
// multiplier, the increment, the 32-bit wrap and the upper half of seed * n
// must all be right for the values to match and to stay below the bound.
TEST(RandomInt, FollowsTheCongruenceAndStaysBelowTheBound) {
    uint64_t expected_seed = 8124751;
    set_random_seed(static_cast<uint32_t>(expected_seed));
    for (uint32_t n : {1360u, 1u, 7u, 100000u, 0xFFFFFFFFu}) {
        for (int i = 0; i < 1000; ++i) {
            expected_seed = (expected_seed * 134775813u + 1u) % 4294967296u;
            const uint32_t draw = random_int(n);
            ASSERT_EQ(draw, static_cast<uint32_t>((expected_seed * n) >> 32)) << "bound " << n;
            ASSERT_LT(draw, n);
        }
        EXPECT_EQ(random_seed(), expected_seed);
    }
}

}  // namespace
