// Parses trof_capture's arguments: one mode (--time, --from/--to, --video,
// --bench or --help), its values, and nothing left over.
#include "capture_options.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "frame/frame_plan.h"

const char* const capture_usage =
    "usage: trof_capture --time MS [--time MS ...] --out DIR [--sheet FILE] [--fps F]\n"
    "       trof_capture --time MS [--time MS ...] --sheet FILE [--fps F]\n"
    "       trof_capture --from A --to B --fps F --out DIR\n"
    "       trof_capture --video FILE [--fps F] [--to B]\n"
    "       trof_capture --bench\n"
    "       trof_capture --help\n"
    "\n"
    "Renders the show headless (a hidden offscreen window, no sound device)\n"
    "from the build folder, which holds data/. Frame k at F frames per second\n"
    "shows music time trunc(1000*k/F) ms; the walking boy's animation follows\n"
    "the music time, so every capture is repeatable to the byte.\n"
    "\n"
    "  --time MS     one PNG per time, DIR/time_MMMMMM.png with --out. The frames\n"
    "                the live show draws before MS on the grid of --fps (default\n"
    "                60) are drawn first, so the picture equals that frame of a\n"
    "                sequence.\n"
    "  --from A --to B\n"
    "                the frames of the --fps grid from A to B ms (both included)\n"
    "                as DIR/frame_KKKKKK.png, K being the frame number.\n"
    "  --video FILE  the whole show, 0 to 108000 ms, at --fps (default 60),\n"
    "                piped to ffmpeg with data/soundtrack.ogg muxed in: H.264 and\n"
    "                AAC for .mp4, H.264 and Vorbis for .mkv. Needs ffmpeg.\n"
    "                With --to B it stops before B ms (a short clip).\n"
    "  --sheet FILE  the --time frames, in time order, as one contact sheet PNG:\n"
    "                half-size cells, 3 to a row. With or instead of --out.\n"
    "  --out DIR     the folder for PNG files (made if missing).\n"
    "  --fps F       frames per second, a whole number from 1 to 1000.\n"
    "  --inline-writes  write each frame before drawing the next, instead of on\n"
    "                a writer thread beside the rendering (same files, slower).\n"
    "  --bench       start-up phases, ms per frame (median, 95th percentile) for\n"
    "                each timeline scene and conductor segment with its main-\n"
    "                and rasterizer-thread CPU time and heap allocations, and\n"
    "                the throughput of a whole-show capture rendered only, to\n"
    "                PNG files and to video, one figure a line.\n"
    "\n"
    "Exit status: 0 done, 1 failure (a load error, ffmpeg missing or failing,\n"
    "a file that cannot be written), 2 bad arguments.\n";

namespace {

bool to_int(const char* text, int32_t& value) {
    const char* end = text + std::strlen(text);
    const auto [ptr, error] = std::from_chars(text, end, value);
    return error == std::errc() && ptr == end && ptr != text;
}

parsed_options fail(std::string error) {
    parsed_options result;
    result.error = std::move(error);
    return result;
}

}  // namespace

parsed_options parse_capture_options(int argc, const char* const* argv) {
    capture_options o;
    bool have_from = false, have_to = false, have_fps = false, video = false, bench = false,
         help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takes_value =
            arg == "--time" || arg == "--from" || arg == "--to" || arg == "--fps" ||
            arg == "--out" || arg == "--video" || arg == "--sheet";
        if (takes_value && i + 1 >= argc) return fail(arg + " needs a value");
        const char* value = takes_value ? argv[++i] : nullptr;
        int32_t number = 0;
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--bench") {
            bench = true;
        } else if (arg == "--inline-writes") {
            o.inline_writes = true;
        } else if (arg == "--out") {
            o.out_dir = value;
        } else if (arg == "--sheet") {
            o.sheet_file = value;
        } else if (arg == "--video") {
            video = true;
            o.video_file = value;
        } else if (arg == "--time" || arg == "--from" || arg == "--to" || arg == "--fps") {
            if (!to_int(value, number)) return fail(arg + " needs a whole number, not '" + value + "'");
            if (arg == "--time") {
                if (number < 0) return fail("--time must not be negative");
                o.times.push_back(number);
            } else if (arg == "--from") {
                have_from = true;
                o.from = number;
            } else if (arg == "--to") {
                have_to = true;
                o.to = number;
            } else {
                if (number < 1 || number > 1000) return fail("--fps must lie between 1 and 1000");
                have_fps = true;
                o.fps = number;
            }
        } else {
            return fail("unknown argument '" + arg + "'");
        }
    }
    const int modes = (help ? 1 : 0) + (bench ? 1 : 0) + (video ? 1 : 0) +
                      (!o.times.empty() ? 1 : 0) + ((have_from || (have_to && !video)) ? 1 : 0);
    if (modes == 0) return fail("no mode given");
    if (modes > 1) return fail("give one of --time, --from/--to, --video, --bench, --help");
    if (!o.sheet_file.empty() && o.times.empty()) return fail("--sheet goes with --time");
    if (help) {
        o.mode = capture_mode::help;
    } else if (bench) {
        o.mode = capture_mode::bench;
    } else if (video) {
        if (o.video_file.empty()) return fail("--video needs a file name");
        o.to = have_to ? o.to : show_end_ms;
        if (o.to <= 0 || o.to > show_end_ms) return fail("--to with --video must lie in 1 ... 108000");
        o.mode = capture_mode::video;
    } else if (!o.times.empty()) {
        if (o.out_dir.empty() && o.sheet_file.empty()) return fail("--time needs --out DIR or --sheet FILE");
        std::sort(o.times.begin(), o.times.end());
        o.times.erase(std::unique(o.times.begin(), o.times.end()), o.times.end());
        o.mode = capture_mode::times;
    } else {
        if (!have_from || !have_to || !have_fps || o.out_dir.empty()) {
            return fail("a sequence needs --from, --to, --fps and --out");
        }
        if (o.from < 0 || o.to < o.from) return fail("--from and --to need 0 <= A <= B");
        o.mode = capture_mode::range;
    }
    parsed_options result;
    result.ok = true;
    result.options = std::move(o);
    return result;
}
