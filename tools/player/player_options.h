// The player's command line: where to start, paused or not, where shots go.
#pragma once

#include <cstdint>
#include <string>

struct player_options {
    int32_t at_ms = 0;
    bool paused = false;
    std::string shots_dir = ".";
    bool help = false;
};

struct parsed_player_options {
    bool ok = true;
    std::string error;
    player_options options;
};

extern const char* const player_usage;
parsed_player_options parse_player_options(int argc, char** argv);
