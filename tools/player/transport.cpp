// The player's timeline: every move goes to the music (seek_music,
// pause_music) and marks the next frame for an exact draw.
#include "transport.h"

#include <algorithm>

#include "engine/globalscenes.h"
#include "engine/music_clock.h"
#include "frame/frame_plan.h"
#include "scenes/scene_fader.h"

transport_state transport;

namespace {

// The first music time in the conductor's window at which it is in segment
// `segment`, found on the conductor's own arithmetic.
int32_t segment_start(const qor_genericscene& fader, int32_t segment) {
    int32_t low = fader.starttime;
    int32_t high = fader.endtime;
    while (low < high) {
        const int32_t mid = low + (high - low) / 2;
        if (fader_position_at(fader.progress(mid)).segment >= segment) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return low;
}

}  // namespace

void transport_seek(int32_t ms) {
    transport.time = std::clamp<int32_t>(ms, 0, show_end_ms - 1);
    seek_music(transport.time);
    transport.exact = true;
}

void transport_set_paused(bool paused) {
    if (paused == transport.paused) return;
    transport.paused = paused;
    pause_music(paused);
    // Resuming plays on from the frame shown, which a step may have moved.
    if (!paused) seek_music(transport.time);
}

void transport_step(int frames) {
    transport_set_paused(true);
    // From between two grid frames, a step lands on the nearest one in its
    // direction: k is the one after, k - 1 the one before.
    const int64_t k = first_frame_at_or_after(transport.time, player_fps);
    const bool on_grid = frame_time(k, player_fps) == transport.time;
    const int64_t from = on_grid || frames < 0 ? k : k - 1;
    transport_seek(frame_time(std::max<int64_t>(0, from + frames), player_fps));
}

void transport_jump_boundary(int direction) {
    const std::vector<int32_t> starts = timeline_boundaries();
    int32_t target = direction < 0 ? 0 : transport.time;
    for (int32_t start : starts) {
        if (direction < 0 && start < transport.time) target = start;
        if (direction > 0 && start > transport.time) {
            target = start;
            break;
        }
    }
    transport_seek(target);
}

void transport_mark_loop_start() { transport.loop_start = transport.time; }
void transport_mark_loop_end() { transport.loop_end = transport.time; }

void transport_clear_loop() {
    transport.loop_start = -1;
    transport.loop_end = -1;
}

bool transport_looping() {
    return transport.loop_start >= 0 && transport.loop_end > transport.loop_start;
}

int32_t transport_next_time() {
    if (transport.exact || transport.paused) return transport.time;
    const int32_t heard = read_music_stream();
    if (transport_looping() && heard >= transport.loop_end) {
        transport_seek(transport.loop_start);
    } else if (heard >= show_end_ms) {
        transport_seek(show_end_ms - 1);
        transport_set_paused(true);
    } else {
        transport.time = heard;
    }
    return transport.time;
}

std::vector<int32_t> timeline_boundaries() {
    std::vector<int32_t> starts;
    for (const qor_genericscene* scene : scene_table) {
        if (scene != nullptr) starts.push_back(scene->starttime);
    }
    if (const qor_genericscene* fader = scene_table[fader_slot]; fader != nullptr) {
        for (int32_t segment = 1; segment < fader_segment_count; ++segment) {
            starts.push_back(segment_start(*fader, segment));
        }
    }
    std::sort(starts.begin(), starts.end());
    return starts;
}
