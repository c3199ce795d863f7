// Timings of the headless show: start-up split into its phases, with the
// resident memory after each; milliseconds per frame (median and 95th
// percentile over frames spread across each timeline scene and each
// conductor segment) with the CPU time of the main thread and of the
// rasterizer threads and the heap allocations per frame,
// and the throughput of a whole-show capture: rendered and read back only,
// and written to PNG files and to video through the writer thread.
// Figures only, never verdicts.
#include "capture_bench.h"

#include "allocation_counter.h"
#include "thread_times.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/globalscenes.h"
#include "engine/qor_views.h"
#include "engine/work_steps.h"
#include "frame/main_loop.h"
#include "frame/show_driver.h"
#include "frame/frame_plan.h"
#include "scenes/scene_fader.h"
#include "frame_render.h"
#include "frame_writer.h"
#include "png_file.h"
#include "video_pipe.h"

namespace {

using bench_clock = std::chrono::steady_clock;

bench_clock::time_point phase_start;

constexpr int capture_fps = 30;

double ms_since(bench_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(bench_clock::now() - start).count();
}

// Each phase's time, and the resident memory once it is done: what the
// driver, the pictures and the scenes' data hold before any frame plays.
void print_phase(const char* phase) {
    std::printf("startup.%s_ms %.1f\n", phase, ms_since(phase_start));
    const double resident = resident_mb();
    if (resident >= 0) std::printf("memory.rss_after_%s_mb %.1f\n", phase, resident);
    phase_start = bench_clock::now();
}

double percentile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(q * static_cast<double>(values.size() - 1) + 0.5));
    return values[index];
}

// A segment's frames split by whether the conductor also draws the
// incoming environment (the cross-fade), which roughly doubles their cost.
void print_fade_split(const char* name, const int32_t* times, const std::vector<double>& ms) {
    std::vector<double> solo, fade;
    const qor_genericscene* fader = scene_table[fader_slot];
    for (size_t i = 0; i < ms.size(); ++i) {
        const bool fading = fader_position_at(fader->progress(times[i])).w != 0;
        (fading ? fade : solo).push_back(ms[i]);
    }
    for (const auto& [kind, values] : {std::pair{"solo", &solo}, std::pair{"fade", &fade}}) {
        if (values->empty()) continue;
        std::printf("frame.%s.%s_median_ms %.2f\n", name, kind, percentile(*values, 0.5));
        std::printf("frame.%s.%s_p95_ms %.2f\n", name, kind, percentile(*values, 0.95));
    }
}

// Frames spread evenly over [start, end), each timed to the end of its
// drawing after one untimed pass over the same times (the driver compiles
// its shaders on first use). The CPU split is per frame: the main thread's
// milliseconds, and the rasterizer threads' share of the wall time they
// could have filled. Allocations are counted over the timed pass.
void time_span(const char* name, int32_t start, int32_t end, bool segment = false) {
    constexpr int samples = 16;
    int32_t times[samples];
    for (int i = 0; i < samples; ++i) {
        times[i] = start + static_cast<int32_t>(static_cast<int64_t>(end - start) * i / samples);
        draw_show_frame(times[i]);
    }
    glFinish();
    std::vector<double> ms;
    ms.reserve(samples);
    record_work_steps(true);
    const thread_times before = read_thread_times();
    const allocation_counts allocations_before = allocations_so_far();
    const auto span_begin = bench_clock::now();
    for (const int32_t t : times) {
        const auto begin = bench_clock::now();
        restart_work_clock();
        draw_show_frame(t);
        glFinish();
        work_checkpoint("finish");
        ms.push_back(ms_since(begin));
    }
    const double wall_ms = ms_since(span_begin);
    const allocation_counts allocations = allocations_so_far();
    const thread_times after = read_thread_times();
    record_work_steps(false);
    std::printf("frame.%s.median_ms %.2f\n", name, percentile(ms, 0.5));
    std::printf("frame.%s.p95_ms %.2f\n", name, percentile(ms, 0.95));
    if (segment) print_fade_split(name, times, ms);
    if (after.known) {
        const double main_ms = static_cast<double>(after.main_ns - before.main_ns) / 1e6;
        const double raster_ms = static_cast<double>(after.rasterizer_ns - before.rasterizer_ns) / 1e6;
        std::printf("frame.%s.main_thread_ms %.2f\n", name, main_ms / samples);
        std::printf("frame.%s.rasterizer_ms %.2f\n", name, raster_ms / samples);
        if (after.rasterizer_threads > 0) {
            std::printf("frame.%s.rasterizer_busy_pct %.0f\n", name,
                        100 * raster_ms / (wall_ms * after.rasterizer_threads));
        }
    }
    for (const work_step_total& step : work_step_totals()) {
        std::printf("frame.%s.step.%s_ms %.2f\n", name, step.step, step.ms / samples);
    }
    if (allocations_before.all >= 0) {
        std::printf("frame.%s.allocations_per_frame %.1f\n", name,
                    static_cast<double>(allocations.all - allocations_before.all) / samples);
        std::printf("frame.%s.new_per_frame %.1f\n", name,
                    static_cast<double>(allocations.operator_new - allocations_before.operator_new) / samples);
    }
}

// A whole-show capture at 30 fps, sampled (every 27th frame of the grid),
// read back and handed to the sink through the writer thread; with no sink
// only rendered and read back, the pace that capture aims to keep.
void capture_throughput(const char* name, frame_sink sink) {
    constexpr int stride = 27;
    frame_writer writer;
    if (sink) start_frame_writer(writer, std::move(sink), true);
    int frames = 0;
    const auto begin = bench_clock::now();
    for (int64_t k = 0; frame_time(k, capture_fps) < show_end_ms; k += stride, ++frames) {
        std::vector<uint8_t> frame = render_next_frame(frame_time(k, capture_fps));
        if (writer.sink) write_frame(writer, k, std::move(frame));
    }
    if (writer.sink) finish_frame_writer(writer);
    const double seconds = ms_since(begin) / 1000;
    std::printf("capture.%s_frames %d\n", name, frames);
    std::printf("capture.%s_fps %.2f\n", name, frames / seconds);
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
    const double age = process_age_ms();
    if (age >= 0) std::printf("startup.since_process_start_ms %.0f\n", age);

    static const char* const scene_names[] = {"intro", "fader", "text", "outro"};
    for (int slot = intro_slot; slot <= outro_slot; ++slot) {
        time_span(scene_names[slot], scene_table[slot]->starttime, scene_table[slot]->endtime);
    }
    const qor_genericscene* fader = scene_table[fader_slot];
    const int32_t length = fader->endtime - fader->starttime;
    for (int segment = 0; segment < fader_segment_count; ++segment) {
        char name[32];
        std::snprintf(name, sizeof name, "segment%d", segment);
        time_span(name, fader->starttime + length * segment / fader_segment_count,
                  fader->starttime + length * (segment + 1) / fader_segment_count, true);
    }

    capture_throughput("render", nullptr);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("trof_bench_" + std::to_string(bench_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder);
    capture_throughput("png", [&folder](int64_t number, const std::vector<uint8_t>& frame) {
        const std::string file = (folder / ("frame_" + std::to_string(number) + ".png")).string();
        return write_png_file(file, frame.data(), screen_width, screen_height);
    });
    video_pipe pipe;
    std::string error;
    if (!find_ffmpeg().empty() &&
        open_video(pipe, (folder / "show.mkv").string(), capture_fps, "data/soundtrack.ogg", error)) {
        capture_throughput("video", [&pipe](int64_t, const std::vector<uint8_t>& frame) {
            return write_video_frame(pipe, frame);
        });
        close_video(pipe);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
