// The Windows build under wine draws the same show: trof_capture.exe, run by
// wine64 on an Xvfb screen (wine's OpenGL reaches the same Mesa as Linux),
// renders the golden frames' times, compared pixel by pixel with the Linux
// trof_capture. Skipped where scripts/build-windows has not been run.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "png_file.h"
#include "support/gl_harness.h"

namespace {

const std::string linux_capture = std::string(TROF_BUILD_DIR) + "/tools/capture/trof_capture";
const std::string windows_capture = std::string(TROF_WINDOWS_BUILD_DIR) + "/tools/capture/trof_capture.exe";

// The golden frames' times: every scene, every conductor segment, a
// cross-fade, two word slots and the outro.
constexpr std::array<int, 12> times = {1500,  11000, 19000, 24000, 31000, 44000,
                                       57000, 70000, 80550, 88650, 95000, 104000};

int run(const std::string& command, std::string& output) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return -1;
    std::array<char, 4096> chunk;
    size_t got;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) output.append(chunk.data(), got);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string capture_command(const std::string& program, const std::string& out) {
    std::string command = program;
    for (int t : times) command += " --time " + std::to_string(t);
    return command + " --out " + out;
}

std::string frame_name(int t) {
    char name[32];
    std::snprintf(name, sizeof name, "/time_%06d.png", t);
    return name;
}

TEST(WindowsBuild, CapturesTheSameFramesAsLinux) {
    if (!std::filesystem::exists(windows_capture)) GTEST_SKIP() << "no " << windows_capture;
    const std::string dir = make_temp_dir("trof-windows");
    std::string output;
    ASSERT_EQ(run(capture_command(linux_capture, dir + "/linux"), output), 0) << output;
    // Wine keeps its prefix beside the build; the first start builds it.
    const std::string wine = "env WINEPREFIX=" + std::string(TROF_WINDOWS_BUILD_DIR) +
                             "/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree=;mshtml=' " +
                             TROF_WINE64;
    const std::string command = "xvfb-run -a -s '-screen 0 640x480x24 -noreset' " + wine + " " +
                                capture_command(windows_capture, dir + "/windows");
    ASSERT_EQ(run(command, output), 0) << output;
    for (int t : times) {
        std::vector<uint8_t> on_linux, on_windows;
        int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
        ASSERT_TRUE(read_png_file(dir + "/linux" + frame_name(t), on_linux, w1, h1)) << t;
        ASSERT_TRUE(read_png_file(dir + "/windows" + frame_name(t), on_windows, w2, h2)) << t;
        ASSERT_EQ(w1, w2);
        ASSERT_EQ(h1, h2);
        size_t differing = 0;
        for (size_t i = 0; i < on_linux.size(); i += 3) {
            if (on_linux[i] != on_windows[i] || on_linux[i + 1] != on_windows[i + 1] ||
                on_linux[i + 2] != on_windows[i + 2]) {
                ++differing;
            }
        }
        EXPECT_EQ(differing, 0u) << "music time " << t << ": " << differing << " of "
                                 << on_linux.size() / 3 << " pixels differ";
    }
}

}  // namespace
