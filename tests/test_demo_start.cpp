// The demo binary's start without a display: the window layer's failure
// text goes to stderr, no prompt waits, and the run ends as a failure.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

TEST(DemoStart, NoDisplayReportsTheWindowClassFailure) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 " +
                                std::string(TROF_BUILD_DIR) + "/trof_dms 2>&1 </dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    std::array<char, 1024> chunk;
    size_t got;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) output.append(chunk.data(), got);
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(output, "Error: Failed To Register The Window Class.\n");
}

}  // namespace
