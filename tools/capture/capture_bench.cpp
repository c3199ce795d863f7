// Timings of the headless show: start-up split into its phases, milliseconds
// per frame (median and 95th percentile over frames spread across each
// timeline scene and each conductor segment), and the throughput of a
// whole-show capture including the read-back. Figures only, never verdicts.
#include "capture_bench.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "engine/globalscenes.h"
#include "frame/main_loop.h"
#include "frame/show_driver.h"
#include "frame/frame_plan.h"
#include "frame_render.h"

namespace {

using bench_clock = std::chrono::steady_clock;

bench_clock::time_point phase_start;

double ms_since(bench_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(bench_clock::now() - start).count();
}

void print_phase(const char* phase) {
    std::printf("startup.%s_ms %.1f\n", phase, ms_since(phase_start));
    phase_start = bench_clock::now();
}

double percentile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(q * static_cast<double>(values.size() - 1) + 0.5));
    return values[index];
}

// Frames spread evenly over [start, end), each timed to the end of its drawing.
void time_span(const char* name, int32_t start, int32_t end) {
    constexpr int samples = 16;
    std::vector<double> ms;
    for (int i = 0; i < samples; ++i) {
        const int32_t t = start + static_cast<int32_t>(static_cast<int64_t>(end - start) * i / samples);
        const auto begin = bench_clock::now();
        draw_show_frame(t);
        glFinish();
        ms.push_back(ms_since(begin));
    }
    std::printf("frame.%s.median_ms %.2f\n", name, percentile(ms, 0.5));
    std::printf("frame.%s.p95_ms %.2f\n", name, percentile(ms, 0.95));
}

}  // namespace

int run_capture_bench() {
    const auto total = bench_clock::now();
    set_startup_observer(print_phase);
    phase_start = bench_clock::now();
    if (!start_show_offscreen()) return 1;
    set_startup_observer(nullptr);
    draw_show_frame(0);
    glFinish();
    print_phase("first_frame");
    std::printf("startup.total_ms %.1f\n", ms_since(total));

    static const char* const scene_names[] = {"intro", "fader", "text", "outro"};
    for (int slot = 0; slot < 4; ++slot) {
        time_span(scene_names[slot], scene_table[slot]->starttime, scene_table[slot]->endtime);
    }
    const qor_genericscene* fader = scene_table[1];
    const int32_t length = fader->endtime - fader->starttime;
    for (int segment = 0; segment < 5; ++segment) {
        char name[32];
        std::snprintf(name, sizeof name, "segment%d", segment);
        time_span(name, fader->starttime + length * segment / 5,
                  fader->starttime + length * (segment + 1) / 5);
    }

    // A whole-show capture at 30 fps, sampled: every 27th frame of the grid.
    constexpr int fps = 30;
    constexpr int stride = 27;
    int frames = 0;
    const auto begin = bench_clock::now();
    for (int64_t k = 0; frame_time(k, fps) < show_end_ms; k += stride) {
        render_next_frame(frame_time(k, fps));
        ++frames;
    }
    const double seconds = ms_since(begin) / 1000;
    std::printf("capture.frames %d\n", frames);
    std::printf("capture.throughput_fps %.2f\n", frames / seconds);
    std::printf("capture.whole_show_30fps_estimate_s %.0f\n",
                static_cast<double>(show_end_ms) * fps / 1000 / (frames / seconds));
    return 0;
}
