// The sound layer on a short soundtrack made here: the clock starts at 0,
// never goes back, keeps time with the wall clock, and is 0 without a file;
// and the arithmetic of the device clock.
#include <gtest/gtest.h>

#include <vorbis/vorbisenc.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include "platform/sound.h"
#include "support/gl_harness.h"

namespace {

// Three seconds of a quiet tone, 44100 Hz stereo.
void write_test_ogg(const std::string& path, int seconds) {
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    vorbis_info info;
    vorbis_info_init(&info);
    ASSERT_EQ(vorbis_encode_init_vbr(&info, 2, 44100, 0.1f), 0);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state os;
    ogg_stream_init(&os, 1234);
    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &header_comment);
    ogg_stream_packetin(&os, &header_code);
    ogg_page page;
    auto write_pages = [&](bool flush) {
        while (flush ? ogg_stream_flush(&os, &page) : ogg_stream_pageout(&os, &page)) {
            std::fwrite(page.header, 1, page.header_len, out);
            std::fwrite(page.body, 1, page.body_len, out);
        }
    };
    write_pages(true);
    const int total = 44100 * seconds;
    for (int done = 0; done <= total;) {
        const int n = std::min(1024, total - done);
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, n);
            for (int i = 0; i < n; ++i) {
                const float v = 0.2f * std::sin(2 * 3.14159265f * 440 * static_cast<float>(done + i) / 44100.0f);
                buffer[0][i] = v;
                buffer[1][i] = v;
            }
        }
        vorbis_analysis_wrote(&dsp, n);
        done += n > 0 ? n : 1;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&os, &packet);
                write_pages(false);
            }
        }
    }
    write_pages(true);
    ogg_stream_clear(&os);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
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
