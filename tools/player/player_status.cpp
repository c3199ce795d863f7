// Builds the overlay's lines from the transport, the scene table and the
// camera-path follows of the last frame.
#include "player_status.h"

#include <cstdio>

#include "engine/globalscenes.h"
#include "scenes/scene_fader.h"
#include "transport.h"

namespace {

constexpr const char* scene_names[] = {"intro", "conductor", "words", "outro"};

std::string format(const char* pattern, auto... values) {
    char line[160];
    std::snprintf(line, sizeof line, pattern, values...);
    return line;
}

std::string scene_line(int32_t time) {
    for (int slot = 0; slot < 4; ++slot) {
        const qor_genericscene* scene = scene_table[slot];
        if (scene == nullptr) continue;
        const float p = scene->progress(time);
        if (p == -1.0f) continue;
        if (slot != fader_slot) return format("scene %s  progress %.4f", scene_names[slot], p);
        const fader_position at = fader_position_at(p);
        return format("scene conductor  progress %.4f  segment %d  e %.4f  fade-in %.3f", p,
                      at.segment, at.e, at.w);
    }
    return "no scene";
}

std::string transport_line(bool flying) {
    std::string line = format("music %d.%03d s", transport.time / 1000, transport.time % 1000);
    if (transport.paused) line += "  PAUSED";
    if (transport_looping()) {
        line += format("  loop %d.%03d-%d.%03d", transport.loop_start / 1000, transport.loop_start % 1000,
                       transport.loop_end / 1000, transport.loop_end % 1000);
    } else if (transport.loop_start >= 0) {
        line += format("  loop from %d.%03d", transport.loop_start / 1000, transport.loop_start % 1000);
    }
    if (flying) line += "  FLYING";
    return line;
}

// Splits a long message into lines that fit the overlay.
void add_wrapped(std::vector<std::string>& lines, const std::string& message) {
    constexpr size_t width = 76;
    for (size_t from = 0; from < message.size(); from += width) lines.push_back(message.substr(from, width));
}

}  // namespace

bool environment_on_screen(path_follow& out) {
    if (path_follow_count == 0) return false;
    out = path_follows[0];
    // The conductor draws its incoming environment second; past half
    // opacity it is the one the picture mostly shows.
    const qor_genericscene* fader = scene_table[fader_slot];
    if (path_follow_count > 1 && fader != nullptr && fader->progress(transport.time) != -1.0f &&
        fader_position_at(fader->progress(transport.time)).w >= 0.5f) {
        out = path_follows[1];
    }
    return true;
}

std::vector<std::string> status_lines(const frame_timing& timing, bool flying,
                                      const std::string& message) {
    std::vector<std::string> lines{transport_line(flying), scene_line(transport.time)};
    path_follow on_screen{};
    if (environment_on_screen(on_screen)) {
        lines.push_back(format("environment en%d  local %d ms  path t %.5f  (%d records)", on_screen.environment,
                               on_screen.local_time, on_screen.t,
                               environment_cameras[on_screen.environment - 1].path.count));
    } else {
        lines.push_back("no camera path on screen");
    }
    lines.push_back(format("frame %.1f ms  %.1f fps", timing.frame_ms, timing.fps));
    if (!message.empty()) add_wrapped(lines, message);
    return lines;
}
