// The sound layer on a short soundtrack made here: the clock starts at 0,
// never goes back, keeps time with the wall clock, and is 0 without a file;
// and the arithmetic of the device clock.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <string>
#include <thread>

#include "ogg_encoder.h"
#include "platform/sound.h"
#include "support/gl_harness.h"

namespace {

// Seconds of a quiet 440 Hz tone at the synthesizer's rate, stereo.
void write_test_ogg(const std::string& path, int seconds) {
    synth::Track tone = synth::make_track(int64_t{synth::sample_rate} * seconds);
    for (size_t n = 0; n < tone.left.size(); ++n) {
        const double t = static_cast<double>(n) / synth::sample_rate;
        tone.left[n] = tone.right[n] = static_cast<float>(0.2 * std::sin(2 * std::numbers::pi * 440 * t));
    }
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(encode_ogg(tone, 0.1f, 1234, nullptr, bytes));
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), out), bytes.size());
    std::fclose(out);
}

TEST(SoundLayer, StreamClockStartsAtZeroGrowsAndKeepsWallTime) {
    const std::string dir = make_temp_dir("trof-sound");
    const std::string file = dir + "/short.ogg";
    write_test_ogg(file, 3);
    // SDL's dummy driver is no sound device: init fails as it would without
    // hardware, and after the close the stream plays on the silent output.
    sound::set_output(sound::OUTPUT_WINMM);
    EXPECT_FALSE(sound::init(44100, 4, 0));
    sound::close();
    const sound::stream_handle stream = sound::stream_open_file(file.c_str(), sound::MPEGACCURATE, 0);
    ASSERT_NE(stream, 0);
    EXPECT_EQ(sound::stream_get_time(stream), 0) << "nothing plays before the play call";

    const auto start = std::chrono::steady_clock::now();
    sound::stream_play(0, stream);
    const int32_t first = sound::stream_get_time(stream);
    EXPECT_LE(first, 5);
    int32_t previous = first;
    int32_t last = first;
    for (int i = 0; i < 300; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        last = sound::stream_get_time(stream);
        ASSERT_GE(last, previous) << "the clock went back";
        previous = last;
    }
    const auto wall = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now() - start)
                          .count();
    EXPECT_GT(last, 1000);
    EXPECT_NEAR(last, static_cast<double>(wall), 40) << "position " << last << " ms after " << wall << " ms";

    std::this_thread::sleep_for(std::chrono::milliseconds(1800));
    const int32_t past_end = sound::stream_get_time(stream);
    EXPECT_GT(past_end, 3200) << "the position goes on in silence past the end of the stream";
    EXPECT_EQ(sound::stream_length_ms(stream), 3000);
    sound::stream_close(stream);
}

// Pause holds the position and the decoding, a seek moves the position at
// once and playback grows from there: on a device (SDL's dummy driver let
// in as one) and on the silent output.
TEST(SoundLayer, PauseHoldsTheClockAndSeekMovesIt) {
    const std::string dir = make_temp_dir("trof-sound-seek");
    const std::string file = dir + "/short.ogg";
    write_test_ogg(file, 4);
    for (const bool device : {true, false}) {
        SCOPED_TRACE(device ? "device" : "silent output");
        sound::allow_virtual_devices(device);
        sound::set_output(device ? sound::OUTPUT_WINMM : sound::OUTPUT_NOSOUND);
        ASSERT_TRUE(sound::init(44100, 4, 0));
        const sound::stream_handle stream = sound::stream_open_file(file.c_str(), sound::MPEGACCURATE, 0);
        ASSERT_NE(stream, 0);
        sound::stream_play(0, stream);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sound::stream_set_paused(stream, true);
        const int32_t held = sound::stream_get_time(stream);
        const int64_t consumed = sound::stream_frames_consumed();
        EXPECT_GT(held, 200);
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        EXPECT_EQ(sound::stream_get_time(stream), held) << "a paused clock stands still";
        EXPECT_EQ(sound::stream_frames_consumed(), consumed) << "nothing is decoded while paused";

        sound::stream_set_time(stream, 2000);
        EXPECT_EQ(sound::stream_get_time(stream), 2000);
        sound::stream_set_paused(stream, false);
        int32_t previous = 2000;
        for (int i = 0; i < 50; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            const int32_t now = sound::stream_get_time(stream);
            ASSERT_GE(now, previous) << "the clock went back after a seek";
            previous = now;
        }
        EXPECT_GT(previous, 2150);
        EXPECT_LT(previous, 2400);
        sound::stream_set_time(stream, 500);
        EXPECT_EQ(sound::stream_get_time(stream), 500) << "a seek back answers at once";
        sound::stream_close(stream);
        EXPECT_EQ(sound::stream_get_time(stream), 0) << "a closed stream is no longer played";
        sound::close();
    }
    sound::allow_virtual_devices(false);
}

TEST(SoundLayer, MissingSoundtrackGivesStreamZeroAndTimeZero) {
    const sound::stream_handle stream =
        sound::stream_open_file("data\\no-such-soundtrack.ogg", sound::MPEGACCURATE, 0);
    EXPECT_EQ(stream, 0);
    EXPECT_EQ(sound::stream_open_failure(), "No such file or directory");
    sound::stream_play(0, stream);
    EXPECT_EQ(sound::stream_get_time(stream), 0);
    EXPECT_EQ(sound::stream_get_time(0), 0);
}

TEST(SoundLayer, UndecodableFileIsTreatedAsMissing) {
    const std::string dir = make_temp_dir("trof-sound-bad");
    const std::string file = dir + "/bad.ogg";
    FILE* out = std::fopen(file.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fputs("OggS but not really a vorbis stream at all", out);
    std::fclose(out);
    EXPECT_EQ(sound::stream_open_file(file.c_str(), sound::MPEGACCURATE, 0), 0);
    EXPECT_EQ(sound::stream_open_failure(), "it is not an Ogg Vorbis file");
}

TEST(PlaybackClock, InterpolatesBetweenHandOversLessLatency) {
    sound::playback_clock clock{44100, 0, 1024, 0, 0};
    EXPECT_EQ(sound::clock_position_frames(clock, 5'000'000), 0) << "nothing handed yet";
    clock.handed = 4096;
    clock.callback_ns = 1'000'000'000;
    EXPECT_EQ(sound::clock_position_frames(clock, 1'000'000'000), 4096 - 1024);
    // 10 ms later: 441 frames further, still short of what was handed.
    EXPECT_EQ(sound::clock_position_frames(clock, 1'010'000'000), 4096 - 1024 + 441);
    // Long after the hand-over the position waits at what was handed.
    EXPECT_EQ(sound::clock_position_frames(clock, 3'000'000'000), 4096);
}

TEST(PlaybackClock, NeverGoesBackWhenACallbackArrivesEarly) {
    sound::playback_clock clock{44100, 2048, 1024, 0, 0};
    const int64_t late = sound::clock_position_frames(clock, 40'000'000);
    EXPECT_EQ(late, 2048);
    clock.handed = 3072;  // the next hand-over: its estimate (2048) is not below
    clock.callback_ns = 41'000'000;
    EXPECT_GE(sound::clock_position_frames(clock, 41'000'000), late);
    std::mt19937 jitter(7);
    int64_t previous = 0;
    for (int i = 0; i < 1000; ++i) {
        clock.handed += 1024;
        clock.callback_ns += 23'000'000 + static_cast<int64_t>(jitter() % 2'000'000);
        for (int step = 0; step < 4; ++step) {
            const int64_t now = clock.callback_ns + step * 6'000'000 -
                                static_cast<int64_t>(jitter() % 1'000'000);
            const int64_t position = sound::clock_position_frames(clock, now);
            ASSERT_GE(position, previous);
            previous = position;
        }
    }
}

}  // namespace
