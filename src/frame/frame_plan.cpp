// The frame grid of a capture and the warm-up frames before a given time.
#include "frame/frame_plan.h"

#include "engine/globalscenes.h"
#include "scenes/scene_fader.h"

namespace {

constexpr int32_t earth_segment = 2;  // the earth fades in during segment 2

// The last frame of the grid before t, or -1.
int32_t frame_before(int32_t t, int fps) {
    const int64_t k = first_frame_at_or_after(t, fps) - 1;
    return k < 0 ? -1 : frame_time(k, fps);
}

// The first frame of the grid in which the conductor renders the earth.
int32_t first_earth_frame(int fps) {
    const qor_genericscene* fader = scene_table[fader_slot];
    for (int64_t k = first_frame_at_or_after(fader->starttime, fps);; ++k) {
        const int32_t t = frame_time(k, fps);
        if (t >= fader->endtime) return -1;
        const fader_position at = fader_position_at(fader->progress(t));
        if (at.segment > earth_segment) return t;
        if (at.segment == earth_segment && at.w != 0.0f) return t;
    }
}

void add_if_later(std::vector<int32_t>& times, int32_t t, int32_t target) {
    if (t < 0 || t >= target) return;
    if (!times.empty() && t <= times.back()) return;
    times.push_back(t);
}

}  // namespace

int32_t frame_time(int64_t k, int fps) { return static_cast<int32_t>(k * 1000 / fps); }

int64_t first_frame_at_or_after(int32_t t, int fps) {
    if (t <= 0) return 0;
    // k = floor(t * fps / 1000) shows at most t, and frame k - 1 shows less.
    int64_t k = static_cast<int64_t>(t) * fps / 1000;
    while (frame_time(k, fps) < t) ++k;
    return k;
}

std::vector<int32_t> warmup_times(int32_t target, int fps) {
    std::vector<int32_t> times;
    const int32_t earth = first_earth_frame(fps);
    if (earth >= 0) add_if_later(times, earth, target);
    const int32_t outro_start = scene_table[outro_slot]->starttime;
    if (target >= outro_start) add_if_later(times, frame_before(outro_start, fps), target);
    add_if_later(times, frame_before(target, fps), target);
    return times;
}
