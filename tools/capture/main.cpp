// trof_capture: the show rendered headless, frame-exact, to PNG files, contact
// sheets or a video, or timed. See capture_usage for the command line.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "capture_bench.h"
#include "capture_options.h"
#include "contact_sheet.h"
#include "engine/qor_views.h"
#include "frame/show_driver.h"
#include "frame/frame_plan.h"
#include "frame_render.h"
#include "frame_writer.h"
#include "png_file.h"
#include "video_pipe.h"

namespace {

// A progress line on stderr for long runs, at most twice a second.
struct progress_line {
    int64_t total = 0;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last{};

    void report(int64_t done, bool final) {
        const auto now = std::chrono::steady_clock::now();
        if (!final && now - last < std::chrono::milliseconds(500)) return;
        last = now;
        const double seconds = std::chrono::duration<double>(now - start).count();
        const double fps = seconds > 0 ? static_cast<double>(done) / seconds : 0;
        const double left = fps > 0 ? static_cast<double>(total - done) / fps : 0;
        std::fprintf(stderr, "\rframe %lld/%lld  %.1f fps  %dm%02ds left ",
                     static_cast<long long>(done), static_cast<long long>(total), fps,
                     static_cast<int>(left) / 60, static_cast<int>(left) % 60);
        if (final) std::fprintf(stderr, "\n");
    }
};

// Makes the folder if missing; an empty name is the working folder.
bool make_out_dir(const std::string& dir) {
    if (dir.empty()) return true;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) std::fprintf(stderr, "trof_capture: cannot make %s: %s\n", dir.c_str(), error.message().c_str());
    return !error;
}

bool save_png(const std::string& dir, const char* pattern, long long number,
              const std::vector<uint8_t>& frame) {
    char name[64];
    std::snprintf(name, sizeof name, pattern, number);
    const std::string path = dir + "/" + name;
    if (write_png_file(path, frame.data(), screen_width, screen_height)) return true;
    std::fprintf(stderr, "trof_capture: cannot write %s\n", path.c_str());
    return false;
}

// PNG files named by the pattern and the frame's number, off the rendering thread.
void start_png_writer(frame_writer& writer, const capture_options& o, const char* pattern) {
    const std::string dir = o.out_dir;
    start_frame_writer(
        writer,
        [dir, pattern](int64_t number, const std::vector<uint8_t>& frame) {
            return save_png(dir, pattern, number, frame);
        },
        !o.inline_writes);
}

// Each time's frame into the folder, its sheet cell, or both.
int capture_times(const capture_options& o) {
    contact_sheet sheet = make_contact_sheet(static_cast<int>(o.times.size()), screen_width, screen_height);
    frame_writer writer;
    start_png_writer(writer, o, "time_%06lld.png");
    bool written = true;
    for (size_t i = 0; i < o.times.size() && written; ++i) {
        std::vector<uint8_t> frame = render_frame_exact(o.times[i], o.fps);
        put_sheet_cell(sheet, static_cast<int>(i), frame);
        if (!o.out_dir.empty()) written = write_frame(writer, o.times[i], std::move(frame));
    }
    if (!finish_frame_writer(writer)) return 1;
    if (o.sheet_file.empty() || write_png_file(o.sheet_file, sheet.rgb.data(), sheet.width, sheet.height)) {
        return 0;
    }
    std::fprintf(stderr, "trof_capture: cannot write %s\n", o.sheet_file.c_str());
    return 1;
}

int capture_range(const capture_options& o) {
    const int64_t first = first_frame_at_or_after(o.from, o.fps);
    int64_t last = first;
    while (frame_time(last + 1, o.fps) <= o.to) ++last;
    progress_line progress;
    progress.total = last - first + 1;
    frame_writer writer;
    start_png_writer(writer, o, "frame_%06lld.png");
    bool written = true;
    for (int64_t k = first; k <= last && written; ++k) {
        const int32_t t = frame_time(k, o.fps);
        written = write_frame(writer, k, k == first ? render_frame_exact(t, o.fps) : render_next_frame(t));
        progress.report(k - first + 1, k == last);
    }
    return finish_frame_writer(writer) ? 0 : 1;
}

int capture_video(const capture_options& o) {
    video_pipe pipe;
    std::string error;
    if (!open_video(pipe, o.video_file, o.fps, "data/soundtrack.ogg", error)) {
        std::fprintf(stderr, "trof_capture: %s\n", error.c_str());
        return 1;
    }
    progress_line progress;
    progress.total = first_frame_at_or_after(o.to, o.fps);
    frame_writer writer;
    start_frame_writer(
        writer, [&pipe](int64_t, const std::vector<uint8_t>& frame) { return write_video_frame(pipe, frame); },
        !o.inline_writes);
    bool written = true;
    for (int64_t k = 0; k < progress.total && written; ++k) {
        written = write_frame(writer, k, render_next_frame(frame_time(k, o.fps)));
        progress.report(k + 1, k + 1 == progress.total);
    }
    written = finish_frame_writer(writer) && written;
    const bool finished = close_video(pipe);
    if (!written || !finished) {
        std::fprintf(stderr, "trof_capture: ffmpeg failed to write %s\n", o.video_file.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const parsed_options parsed = parse_capture_options(argc, argv);
    if (!parsed.ok) {
        std::fprintf(stderr, "trof_capture: %s\n\n%s", parsed.error.c_str(), capture_usage);
        return 2;
    }
    const capture_options& o = parsed.options;
    switch (o.mode) {
    case capture_mode::help:
        std::fputs(capture_usage, stdout);
        return 0;
    case capture_mode::bench:
        return run_capture_bench();
    case capture_mode::video:
        if (find_ffmpeg().empty()) {
            std::fprintf(stderr, "trof_capture: ffmpeg was not found on PATH; install it "
                                 "(Debian package ffmpeg) to make videos\n");
            return 1;
        }
        break;
    case capture_mode::times:
    case capture_mode::range:
        if (!make_out_dir(o.out_dir) ||
            !make_out_dir(std::filesystem::path(o.sheet_file).parent_path().string())) {
            return 1;
        }
        break;
    }
    if (!start_show_offscreen()) return 1;
    if (o.mode == capture_mode::times) return capture_times(o);
    if (o.mode == capture_mode::range) return capture_range(o);
    return capture_video(o);
}
