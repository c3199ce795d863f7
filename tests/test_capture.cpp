// The capture tool: the frame grid, its command line, repeatable and
// frame-exact PNG captures, the load error without data, and a short video.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "capture_options.h"
#include "contact_sheet.h"
#include "engine/globalscenes.h"
#include "frame/frame_plan.h"
#include "png_file.h"
#include "support/gl_harness.h"
#include "video_pipe.h"

namespace {

const std::string capture_tool = std::string(TROF_BUILD_DIR) + "/tools/capture/trof_capture";

struct run_result {
    int status;
    std::string output;  // stdout and stderr together
};

run_result run(const std::string& command) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return {-1, ""};
    std::string output;
    std::array<char, 4096> chunk;
    size_t got;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) output.append(chunk.data(), got);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(FrameGrid, SixtyFramesASecondAtTheFirstSceneBoundary) {
    EXPECT_EQ(frame_time(0, 60), 0);
    EXPECT_EQ(frame_time(826, 60), 13766);
    EXPECT_EQ(frame_time(827, 60), 13783);
    EXPECT_EQ(first_frame_at_or_after(13769, 60), 827);
    EXPECT_EQ(first_frame_at_or_after(13766, 60), 826);
    EXPECT_EQ(first_frame_at_or_after(0, 60), 0);
    EXPECT_EQ(first_frame_at_or_after(108000, 60), 6480);
    EXPECT_EQ(frame_time(6479, 60), 107983);
    for (int fps : {1, 24, 25, 30, 60, 144, 1000}) {
        for (int32_t t : {0, 1, 999, 13769, 78544, 91501, 107999}) {
            const int64_t k = first_frame_at_or_after(t, fps);
            EXPECT_GE(frame_time(k, fps), t);
            if (k > 0) {
                EXPECT_LT(frame_time(k - 1, fps), t);
            }
        }
    }
}

TEST(FrameGrid, WarmUpCarriesCameraFieldOfViewAndDepthFunction) {
    create_scene_table();
    EXPECT_TRUE(warmup_times(0, 60).empty()) << "the first frame uses the start-up camera";
    EXPECT_EQ(warmup_times(16, 60), (std::vector<int32_t>{0}));
    EXPECT_EQ(warmup_times(20000, 60), (std::vector<int32_t>{19983}));
    const std::vector<int32_t> outro = warmup_times(95000, 60);
    ASSERT_EQ(outro.size(), 3u);
    EXPECT_GT(outro[0], 39679) << "the earth first fades in during the third segment";
    EXPECT_LT(outro[0], 52634);
    EXPECT_EQ(outro[1], 91500) << "the word scene's last frame hands over the field of view";
    EXPECT_EQ(outro[2], 94983);
}

TEST(CaptureOptions, ModesAndTheirValues) {
    const char* times[] = {"trof_capture", "--time", "500", "--time", "20", "--time", "500", "--out", "d"};
    parsed_options p = parse_capture_options(9, times);
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.mode, capture_mode::times);
    EXPECT_EQ(p.options.times, (std::vector<int32_t>{20, 500}));
    const char* video[] = {"trof_capture", "--video", "show.mkv", "--fps", "30"};
    p = parse_capture_options(5, video);
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.mode, capture_mode::video);
    EXPECT_EQ(p.options.to, show_end_ms);
    EXPECT_EQ(p.options.fps, 30);
    EXPECT_FALSE(p.options.inline_writes);
}

TEST(CaptureOptions, BadArgumentsAreRefused) {
    const std::vector<std::vector<const char*>> bad = {
        {"trof_capture"},
        {"trof_capture", "--time"},
        {"trof_capture", "--time", "12x", "--out", "d"},
        {"trof_capture", "--time", "-3", "--out", "d"},
        {"trof_capture", "--time", "100"},
        {"trof_capture", "--from", "0", "--to", "100", "--out", "d"},
        {"trof_capture", "--from", "200", "--to", "100", "--fps", "30", "--out", "d"},
        {"trof_capture", "--video", "a.mp4", "--fps", "0"},
        {"trof_capture", "--video", "a.mp4", "--bench"},
        {"trof_capture", "--video", "a.mp4", "--sheet", "s.png"},
        {"trof_capture", "--frobnicate"},
    };
    for (const auto& args : bad) {
        const parsed_options p = parse_capture_options(static_cast<int>(args.size()), args.data());
        EXPECT_FALSE(p.ok) << args.size() << " arguments, last " << args.back();
        EXPECT_FALSE(p.error.empty());
    }
}

TEST(CaptureTool, BadArgumentsGiveUsageAndStatusTwo) {
    const run_result r = run(capture_tool + " --time 12x --out /tmp/x");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.output, ::testing::HasSubstr("usage: trof_capture"));
    EXPECT_THAT(r.output, ::testing::HasSubstr("--time needs a whole number"));
    const run_result help = run(capture_tool + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.output, ::testing::HasSubstr("--video FILE"));
}

// One capture run shared by the checks below: times across the show (the
// second run also as a contact sheet), and the show from its first frame to
// the outro at 2 frames a second.
class Captures : public ::testing::Test {
protected:
    static constexpr std::array<const char*, 5> frame_names = {
        "time_000000.png", "time_000016.png", "time_040000.png", "time_085000.png", "time_091516.png"};
    static std::string first, second, sequence;
    static void SetUpTestSuite() {
        first = make_temp_dir("trof-capture-a");
        second = make_temp_dir("trof-capture-b");
        sequence = make_temp_dir("trof-capture-seq");
        const std::string times = " --time 0 --time 16 --time 40000 --time 85000 --time 91516";
        ASSERT_EQ(run(capture_tool + times + " --out " + first).status, 0);
        ASSERT_EQ(run(capture_tool + times + " --out " + second + " --sheet " + second + "/sheet.png").status, 0);
        // From the first frame on, as the live show draws them: no warm-up.
        const run_result r = run(capture_tool + " --from 0 --to 95000 --fps 2 --out " + sequence);
        ASSERT_EQ(r.status, 0) << r.output;
    }
};
std::string Captures::first, Captures::second, Captures::sequence;

TEST_F(Captures, SameTimesGiveIdenticalBytes) {
    for (const char* name : frame_names) {
        const std::string a = slurp(first + "/" + name);
        ASSERT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, slurp(second + "/" + name)) << name;
    }
    EXPECT_NE(slurp(first + "/time_000000.png"), slurp(first + "/time_000016.png"));
}

// A single time rebuilds the state the show carries from frame to frame from
// its warm-up frames; the sequence drew every frame before it. 83500 needs
// the depth function the earth left (the word scene's environments inherit
// it), 95000 also the field of view the word scene's last frame left.
TEST_F(Captures, SingleTimesEqualTheShowDrawnFromItsFirstFrame) {
    EXPECT_TRUE(std::filesystem::exists(sequence + "/frame_000190.png"));
    EXPECT_FALSE(std::filesystem::exists(sequence + "/frame_000191.png"));
    const std::string single = make_temp_dir("trof-capture-single");
    for (const auto& [time, frame] : {std::pair{83500, 167}, std::pair{95000, 190}}) {
        const std::string out = single + "/" + std::to_string(time);
        ASSERT_EQ(run(capture_tool + " --fps 2 --time " + std::to_string(time) + " --out " + out).status, 0);
        char name[32];
        std::snprintf(name, sizeof name, "/frame_%06d.png", frame);
        const std::string from_sequence = slurp(sequence + name);
        ASSERT_FALSE(from_sequence.empty()) << name;
        std::snprintf(name, sizeof name, "/time_%06d.png", time);
        EXPECT_TRUE(slurp(out + name) == from_sequence) << "music time " << time;
    }
}

// The writer thread changes when a frame is written, never what.
TEST_F(Captures, TheWriterThreadWritesTheSameFilesAsInlineWrites) {
    const std::string inline_dir = make_temp_dir("trof-capture-inline");
    const run_result r = run(capture_tool + " --from 0 --to 95000 --fps 2 --inline-writes --out " + inline_dir);
    ASSERT_EQ(r.status, 0) << r.output;
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sequence)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(slurp(entry.path().string()) == slurp(inline_dir + "/" + name)) << name;
        ++compared;
    }
    EXPECT_EQ(compared, 191);
}

TEST_F(Captures, SheetTilesTheFramesAtHalfSize) {
    std::vector<uint8_t> sheet;
    int width = 0, height = 0;
    ASSERT_TRUE(read_png_file(second + "/sheet.png", sheet, width, height));
    EXPECT_EQ(width, 3 * 320 + 2 * sheet_gap);
    EXPECT_EQ(height, 2 * 240 + sheet_gap);
    contact_sheet expected = make_contact_sheet(5, 640, 480);
    for (size_t i = 0; i < frame_names.size(); ++i) {
        std::vector<uint8_t> frame;
        ASSERT_TRUE(read_png_file(first + "/" + frame_names[i], frame, width, height));
        put_sheet_cell(expected, static_cast<int>(i), frame);
    }
    EXPECT_EQ(sheet, expected.rgb);
}

TEST(CaptureTool, MissingDataFolderGivesTheDemosLoadError) {
    const std::string empty = make_temp_dir("trof-no-data");
    const std::string in_empty = "cd " + empty + " && env -u DISPLAY SDL_VIDEODRIVER=offscreen ";
    const run_result capture = run(in_empty + capture_tool + " --time 0 --out frames");
    const run_result demo = run(in_empty + std::string(TROF_BUILD_DIR) + "/trof_dms");
    EXPECT_EQ(capture.status, 1);
    EXPECT_EQ(demo.status, 1);
    const std::string expected = "Cannot load \"data\\font.jpg\": No such file";
    EXPECT_THAT(capture.output, ::testing::HasSubstr(expected));
    EXPECT_THAT(demo.output, ::testing::HasSubstr(expected));
}

TEST(CaptureTool, ShortVideoWithSoundtrack) {
    if (find_ffmpeg().empty()) GTEST_SKIP() << "ffmpeg is not installed: no video smoke run";
    const std::string dir = make_temp_dir("trof-video");
    for (const char* name : {"clip.mp4", "clip.mkv"}) {
        const std::string file = dir + "/" + name;
        const run_result r = run(capture_tool + " --video " + file + " --fps 10 --to 2000");
        ASSERT_EQ(r.status, 0) << r.output;
        const run_result probe = run("ffprobe -v error -show_entries stream=codec_type,codec_name "
                                     "-show_entries format=duration -of default=nw=1 " + file);
        EXPECT_THAT(probe.output, ::testing::HasSubstr("codec_type=video"));
        EXPECT_THAT(probe.output, ::testing::HasSubstr("codec_type=audio"));
        EXPECT_THAT(probe.output, ::testing::HasSubstr("duration=2."));
    }
}

}  // namespace
