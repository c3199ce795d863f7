// The capture tool's command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class capture_mode { help, times, range, video, bench };

struct capture_options {
    capture_mode mode = capture_mode::help;
    std::vector<int32_t> times;  // --time, ascending, without repeats
    int32_t from = 0;
    int32_t to = 0;
    int fps = 60;
    std::string out_dir;
    std::string sheet_file;  // --sheet: the --time frames tiled into one PNG
    std::string video_file;
    // --inline-writes: each frame written before the next is drawn, instead
    // of on the writer thread (the same files, more slowly).
    bool inline_writes = false;
};

struct parsed_options {
    bool ok = false;
    capture_options options;
    std::string error;  // what was wrong, when not ok
};

parsed_options parse_capture_options(int argc, const char* const* argv);
extern const char* const capture_usage;
