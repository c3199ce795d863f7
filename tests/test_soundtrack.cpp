// Tests of the generated soundtrack: the beat grid, the synthesizer's parts,
// and the encoded file the demo plays (length, format, peak, hits on the
// show's cues, reproducible bytes).
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include <unistd.h>

#include "datagen.h"
#include "sequencer.h"
#include "synth.h"

namespace {

constexpr int rate = synth::sample_rate;

double db(double ratio) { return 20.0 * std::log10(ratio); }

double rms(const std::vector<float>& samples, int64_t from, int64_t to) {
    double sum = 0.0;
    for (int64_t n = from; n < to; ++n) sum += double(samples[n]) * samples[n];
    return std::sqrt(sum / double(to - from));
}

std::vector<float> sine(double hz, int64_t frames) {
    std::vector<float> out(frames);
    for (int64_t n = 0; n < frames; ++n) {
        out[n] = float(std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(n) / rate));
    }
    return out;
}

// ---- The beat grid.

int64_t frame_of_ms(double ms) { return std::llround(ms * rate / 1000.0); }

TEST(BeatGrid, SectionDownbeatsFallOnTheirOwnSamples) {
    for (int i = 0; i < music::downbeat_count; ++i) {
        EXPECT_EQ(music::beat_frame(i * music::beats_per_section),
                  frame_of_ms(music::downbeat_ms[i]))
            << "downbeat " << i;
    }
    EXPECT_EQ(music::beat_frame(0), 607213);  // 13769 ms
}

TEST(BeatGrid, WordChangesFallOnEveryOtherBeatOfTheWordScene) {
    // The word scene shows word k from 78544 + k/16 of its 12957 ms window.
    for (int k = 0; k < 16; ++k) {
        const double ms = 78544.0 + 12957.0 * k / 16.0;
        EXPECT_EQ(music::beat_frame(160 + 2 * k), frame_of_ms(ms)) << "word " << k;
        EXPECT_NEAR(ms, 78544.0 + 809.8 * k, 0.2);
    }
}

TEST(BeatGrid, EveryBeatIsOneBeatLongWithoutDrift) {
    const double nominal = music::beat_ms * rate / 1000.0;  // 17854.2 frames
    for (int beat = -36; beat < 240; ++beat) {
        const int64_t length = music::beat_span_frames(beat, beat + 1);
        // The word scene is 2 ms longer than the other sections: 2.8 frames a beat more at most.
        EXPECT_NEAR(double(length), nominal, 3.5) << "beat " << beat;
    }
    EXPECT_EQ(music::beat_frame(192), frame_of_ms(91501));
    EXPECT_EQ(music::beat_frame(232), frame_of_ms(91501 + 40 * music::beat_ms));
    EXPECT_NEAR(music::beat_to_ms(-34), 13769 - 34 * music::beat_ms, 1e-9);
}

// ---- The synthesizer.

TEST(Synth, NoiseIsReproducibleAndUniform) {
    synth::Noise a{12345u}, b{12345u}, other{54321u};
    double sum = 0.0, low = 1.0, high = -1.0;
    int differences = 0;
    for (int i = 0; i < 100000; ++i) {
        const double x = synth::noise_next(a);
        EXPECT_EQ(x, synth::noise_next(b));
        differences += x != synth::noise_next(other);
        sum += x;
        low = std::min(low, x);
        high = std::max(high, x);
    }
    EXPECT_GT(differences, 99000);
    EXPECT_NEAR(sum / 100000.0, 0.0, 0.01);
    EXPECT_GE(low, -1.0);
    EXPECT_LT(high, 1.0);
    EXPECT_LT(low, -0.99);
    EXPECT_GT(high, 0.99);
}

double low_pass_gain_db(double hz, double cutoff_hz) {
    synth::Filter filter;
    synth::filter_tune(filter, cutoff_hz, 0.0);
    const std::vector<float> input = sine(hz, rate);
    std::vector<float> output(input.size());
    for (size_t n = 0; n < input.size(); ++n) {
        output[n] = float(synth::filter_step(filter, input[n]).low);
    }
    return db(rms(output, rate / 2, rate) / rms(input, rate / 2, rate));
}

TEST(Synth, LowPassPassesTheBandAndCutsAboveIt) {
    EXPECT_NEAR(low_pass_gain_db(100.0, 1000.0), 0.0, 0.3);
    EXPECT_NEAR(low_pass_gain_db(1000.0, 1000.0), -6.0, 1.0);  // Q 0.5 at the corner
    EXPECT_LT(low_pass_gain_db(8000.0, 1000.0), -34.0);        // 12 dB an octave
}

TEST(Synth, NotesSoundAtTheirPitchAndRelease) {
    const synth::Patch sine_patch{.wave = synth::Wave::sine, .sustain = 1.0, .release_s = 0.05f,
                                  .cutoff_hz = 15000.0};
    const int64_t hold = rate / 2;
    const synth::Track a4 = synth::note_sound(sine_patch, 69.0, hold);
    int crossings = 0;
    for (int64_t n = rate / 10; n < hold; ++n) {
        crossings += (a4.left[n - 1] < 0.0f) != (a4.left[n] < 0.0f);
    }
    const double hz = crossings / 2.0 / (double(hold - rate / 10) / rate);
    EXPECT_NEAR(hz, 440.0, 3.0);
    const int64_t frames = synth::frame_count(a4);
    EXPECT_GT(frames, hold);
    EXPECT_LT(rms(a4.left, frames - 200, frames), 0.01 * rms(a4.left, 0, hold))
        << "the release must die away";
}

// Share of a sound's energy below a frequency (two-pole low-pass split).
double low_share(const synth::Track& sound, double hz) {
    synth::Filter filter;
    synth::filter_tune(filter, hz, 0.0);
    double low = 0.0, total = 0.0;
    for (float x : sound.left) {
        const double y = synth::filter_step(filter, x).low;
        low += y * y;
        total += double(x) * x;
    }
    return low / total;
}

TEST(Synth, DrumsSitInTheirBands) {
    EXPECT_GT(low_share(synth::kick_sound(), 200.0), 0.7);
    EXPECT_LT(low_share(synth::hat_sound(0.05), 3000.0), 0.1);
    EXPECT_LT(low_share(synth::crash_sound(), 2000.0), 0.1);
    EXPECT_GT(low_share(synth::boom_sound(), 150.0), 0.8);
}

TEST(Synth, PlaceAddsWithConstantPowerPanAndClipsAtTheEnds) {
    synth::Track sound = synth::make_track(4);
    std::fill(sound.left.begin(), sound.left.end(), 1.0f);
    std::fill(sound.right.begin(), sound.right.end(), 1.0f);
    synth::Track bus = synth::make_track(6);
    synth::place(bus, sound, -1, 0.5f, 0.0f);  // centre keeps the level
    synth::place(bus, sound, 4, 1.0f, -1.0f);  // hard left, two frames cut off
    EXPECT_NEAR(bus.left[0], 0.5f, 1e-6);
    EXPECT_NEAR(bus.right[2], 0.5f, 1e-6);
    EXPECT_EQ(bus.left[3], 0.0f);
    EXPECT_NEAR(bus.left[4], std::sqrt(2.0f), 1e-6);
    EXPECT_NEAR(bus.right[5], 0.0f, 1e-6);
}

TEST(Synth, LimiterHoldsTheCeilingAndLeavesQuietSoundAlone) {
    synth::Track loud = synth::make_track(rate);
    synth::Noise noise{7u};
    for (int64_t n = 0; n < rate; ++n) {
        loud.left[n] = float(0.5 * synth::noise_next(noise) + (n % 5000 == 0 ? 3.0 : 0.0));
        loud.right[n] = float(0.3 * std::sin(static_cast<double>(n) * 0.01));
    }
    synth::Track quiet = synth::make_track(1000);
    for (int n = 0; n < 1000; ++n) quiet.left[n] = quiet.right[n] = float(0.4 * std::sin(n * 0.05));
    const synth::Track quiet_before = quiet;
    synth::limit_peaks(loud, 0.75f, 66, 0.08);
    synth::limit_peaks(quiet, 0.75f, 66, 0.08);
    EXPECT_LE(synth::peak_of(loud), 0.75f);
    EXPECT_GT(synth::peak_of(loud), 0.7f) << "the peaks are brought to the ceiling, not below";
    EXPECT_EQ(quiet.left, quiet_before.left);
    EXPECT_EQ(quiet.right, quiet_before.right);
}

// ---- The encoded file.

struct Decoded {
    int rate = 0, channels = 0;
    std::vector<float> left, right, mono;
};

Decoded decode(const std::string& path) {
    Decoded out;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) return out;
    const vorbis_info* info = ov_info(&file, -1);
    out.rate = int(info->rate);
    out.channels = info->channels;
    float** pcm = nullptr;
    int section = 0;
    long frames = 0;
    while ((frames = ov_read_float(&file, &pcm, 4096, &section)) > 0) {
        for (long n = 0; n < frames; ++n) {
            out.left.push_back(pcm[0][n]);
            out.right.push_back(out.channels > 1 ? pcm[1][n] : pcm[0][n]);
            out.mono.push_back(0.5f * (out.left.back() + out.right.back()));
        }
    }
    ov_clear(&file);
    return out;
}

std::vector<char> read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SoundtrackFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() { track = new Decoded(decode("data/soundtrack.ogg")); }
    static void TearDownTestSuite() { delete track; }

    // Mean power of the mono mix in [from_ms, to_ms).
    static double power(double from_ms, double to_ms) {
        const int64_t from = std::max<int64_t>(0, frame_of_ms(from_ms));
        const int64_t to = std::min<int64_t>(track->mono.size(), frame_of_ms(to_ms));
        const double level = rms(track->mono, from, to);
        return level * level;
    }

    // The largest rise of short-time energy (5 ms against the 40 ms before)
    // found within 20 ms of the given time; the short window keeps a hit that
    // starts later than 20 ms from counting.
    static double onset_rise(double ms) {
        double best = 0.0;
        for (double at = ms - 20.0; at <= ms + 20.0; at += 1.0) {
            best = std::max(best, power(at, at + 5.0) / (power(at - 40.0, at) + 1e-12));
        }
        return best;
    }

    static Decoded* track;
};

Decoded* SoundtrackFile::track = nullptr;

// A rise of about 8 dB: the hits measure 10.6 dB and more, positions between
// the sixteenths of the groove 5.6 dB at most.
constexpr double onset_threshold = 6.0;

TEST_F(SoundtrackFile, DecodesToStereoAtCdRateForAtLeast110Seconds) {
    ASSERT_FALSE(track->mono.empty()) << "data/soundtrack.ogg is missing or not Vorbis";
    EXPECT_EQ(track->rate, 44100);
    EXPECT_EQ(track->channels, 2);
    EXPECT_GE(double(track->mono.size()) / track->rate, 110.0);
}

TEST_F(SoundtrackFile, PeakStaysBelowMinusOneDbfs) {
    float peak = 0.0f;
    for (size_t n = 0; n < track->left.size(); ++n) {
        peak = std::max({peak, std::fabs(track->left[n]), std::fabs(track->right[n])});
    }
    EXPECT_LE(db(peak), -1.0);
    EXPECT_GT(db(peak), -4.0) << "the mix should use its headroom";
}

TEST_F(SoundtrackFile, EverySectionDownbeatIsAHit) {
    for (int ms : music::downbeat_ms) {
        EXPECT_GE(onset_rise(ms), onset_threshold) << "no onset at " << ms << " ms";
    }
}

TEST_F(SoundtrackFile, WordChangesAreHits) {
    int hits = 0;
    std::string missed;
    for (int k = 0; k < 16; ++k) {
        const double ms = 78544.0 + 809.8 * k;
        if (onset_rise(ms) >= onset_threshold) {
            ++hits;
        } else {
            missed += " " + std::to_string(k);
        }
    }
    EXPECT_GE(hits, 14) << "words without an onset:" << missed;
}

TEST_F(SoundtrackFile, OffBeatPositionsAreNotHits) {
    // A third of a beat after a downbeat nothing new starts, so the detector
    // must stay quiet there: it finds the hits, not every bit of motion.
    for (int ms : music::downbeat_ms) {
        EXPECT_LT(onset_rise(ms + 4 * music::beat_ms + music::beat_ms / 3), onset_threshold)
            << "near " << ms << " ms";
    }
}

TEST_F(SoundtrackFile, OpensSoftlyBuildsAndWindsDown) {
    const double opening = power(0.0, 3000.0), groove = power(13769.0, 26724.0);
    EXPECT_LT(10.0 * std::log10(opening / groove), -15.0);
    EXPECT_GT(power(12392.0, 13769.0), 3.0 * power(9000.0, 10000.0)) << "the last second builds";
    const double breakdown = power(53000.0, 59000.0), climax = power(65589.0, 78544.0);
    EXPECT_LT(10.0 * std::log10(breakdown / climax), -4.0) << "earth and stars drop back";
    EXPECT_GT(10.0 * std::log10(power(107000.0, 108000.0)), -40.0)
        << "still sounding when the show ends";
    const double seconds = double(track->mono.size()) / track->rate;
    EXPECT_LT(10.0 * std::log10(power(seconds * 1000.0 - 250.0, seconds * 1000.0) + 1e-20), -60.0)
        << "fades to silence";
}

TEST(SoundtrackWriter, TwoRunsWriteTheSameBytes) {
    const std::filesystem::path base =
        std::filesystem::temp_directory_path() / ("soundtrack_test_" + std::to_string(::getpid()));
    const std::filesystem::path first = base / "a", second = base / "b";
    std::filesystem::create_directories(first);
    std::filesystem::create_directories(second);
    ASSERT_TRUE(write_soundtrack(first.string()));
    ASSERT_TRUE(write_soundtrack(second.string()));
    const std::vector<char> a = read_bytes(first / "soundtrack.ogg");
    const std::vector<char> b = read_bytes(second / "soundtrack.ogg");
    std::filesystem::remove_all(base);
    ASSERT_GT(a.size(), 1000000u);
    EXPECT_LT(a.size(), 3000000u);
    EXPECT_TRUE(a == b) << "the two runs differ";
    EXPECT_TRUE(a == read_bytes("data/soundtrack.ogg")) << "the build's soundtrack is not this one";
}

TEST(SoundtrackWriter, ReportsAFolderItCannotWriteInto) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(write_soundtrack("/nonexistent/folder"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("soundtrack.ogg"), std::string::npos);
}

}  // namespace
