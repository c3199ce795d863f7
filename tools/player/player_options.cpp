// Parses the player's few options; anything else is an error with the usage.
#include "player_options.h"

#include <charconv>
#include <cstring>

#include "engine/globalscenes.h"

const char* const player_usage =
    "usage: trof_player [--at MS] [--paused] [--shots DIR]\n"
    "  --at MS      start at music time MS (0 to 107999)\n"
    "  --paused     start paused\n"
    "  --shots DIR  where F12 writes the frame shown (default: the working folder)\n"
    "Run it in the folder that holds data/. Keys: see docs/player.md.\n";

parsed_player_options parse_player_options(int argc, char** argv) {
    parsed_player_options parsed;
    player_options& o = parsed.options;
    const auto fail = [&parsed](const std::string& error) {
        parsed.ok = false;
        parsed.error = error;
        return parsed;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--paused") {
            o.paused = true;
        } else if (arg == "--at" && has_value) {
            const char* text = argv[++i];
            const char* end = text + std::strlen(text);
            const auto [stop, error] = std::from_chars(text, end, o.at_ms);
            if (error != std::errc() || stop != end || o.at_ms < 0 || o.at_ms >= show_end_ms) {
                return fail("--at takes a music time from 0 to 107999 ms");
            }
        } else if (arg == "--shots" && has_value) {
            o.shots_dir = argv[++i];
        } else {
            return fail("unknown or incomplete option " + arg);
        }
    }
    return parsed;
}
