// The demo binary's start without a display: the window layer's failure
// text goes to stderr, no prompt waits, and the run ends as a failure.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct run_result {
    int status = -1;
    std::string output;
};

// The demo with no display in its environment and the given video driver
// settings; a demo that would play on regardless is stopped after 20 s.
run_result run_without_display(const std::string& driver_settings) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + driver_settings +
                                " timeout 20 " + std::string(TROF_BUILD_DIR) +
                                "/trof_dms 2>&1 </dev/null";
    run_result result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 1024> chunk;
    size_t got;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) {
        result.output.append(chunk.data(), got);
    }
    const int status = pclose(pipe);
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    return result;
}

TEST(DemoStart, NoDisplayReportsTheWindowClassFailure) {
    const run_result run = run_without_display("SDL_VIDEODRIVER=x11");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output,
              "Cannot open the display: x11 not available\n"
              "Error: Failed To Register The Window Class.\n");
}

// Left to itself SDL falls back to its offscreen driver, which would play the
// whole show with its music in a window nobody sees.
TEST(DemoStart, NoDisplayAndNoDriverNamedEndsWithTheReason) {
    const run_result run = run_without_display("-u SDL_VIDEODRIVER");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.output, testing::HasSubstr("Cannot open the display: no X11 or Wayland"));
    EXPECT_THAT(run.output, testing::EndsWith("Error: Failed To Register The Window Class.\n"));
}

}  // namespace
