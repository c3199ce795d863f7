// trof_player: the show in a live, resizable window for its authors, with
// the demo's start-up, scenes and frame driver; see docs/player.md.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "engine/music_clock.h"
#include "engine/qor_views.h"
#include "frame/globals.h"
#include "frame/main_loop.h"
#include "frame/show_driver.h"
#include "frame/window.h"
#include "frame_render.h"
#include "platform/platform.h"
#include "player_keys.h"
#include "player_options.h"
#include "player_status.h"
#include "player_view.h"
#include "png_file.h"
#include "transport.h"

namespace {

// Frame time and a rate averaged over about half a second.
struct frame_clock {
    std::chrono::steady_clock::time_point last = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point window_start = last;
    int frames_in_window = 0;
    frame_timing timing;

    void tick() {
        const auto now = std::chrono::steady_clock::now();
        timing.frame_ms = std::chrono::duration<double, std::milli>(now - last).count();
        last = now;
        ++frames_in_window;
        const double window = std::chrono::duration<double>(now - window_start).count();
        if (window >= 0.5) {
            timing.fps = frames_in_window / window;
            frames_in_window = 0;
            window_start = now;
        }
    }
};

// The frame of this pass: with its warm-up after a seek or reload, the
// plain next frame while playing or flying, and none while paused (the
// picture drawn last is shown again). True when a frame was drawn.
bool draw_pass(int32_t time) {
    if (transport.exact) {
        draw_show_frame_warmed(time, player_fps);
        transport.exact = false;
        return true;
    }
    if (transport.paused && !controls.flying) return false;
    draw_show_frame(time);
    return true;
}

void write_shot(const std::string& dir, int32_t time) {
    std::error_code ignored;  // a folder that cannot be made fails the write below
    std::filesystem::create_directories(dir, ignored);
    char name[32];
    std::snprintf(name, sizeof name, "player_%06d.png", time);
    const std::string path = (std::filesystem::path(dir) / name).string();
    const std::vector<uint8_t> frame = read_back_frame();
    tell(write_png_file(path, frame.data(), screen_width, screen_height)
             ? "shot " + std::to_string(time) + " ms: " + path
             : "cannot write " + path);
}

void run(const player_options& o) {
    frame_clock clock;
    bool done = false;
    while (!done) {
        if (handle_pending_message(done, handle_player_message)) continue;
        // A shot is of the exact frame, drawn again with its warm-up.
        if (controls.shot_wanted) transport.exact = true;
        const int32_t time = transport_next_time();
        const bool drawn = draw_pass(time);
        if (controls.shot_wanted) {
            write_shot(o.shots_dir, time);
            controls.shot_wanted = false;
        }
        const std::vector<std::string> lines =
            controls.overlay ? status_lines(clock.timing, controls.flying, controls.message)
                             : std::vector<std::string>{};
        present_frame(drawn, lines);
        // A paused picture needs no new frame as fast as the machine allows.
        if (!drawn) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        clock.tick();
        if (key_state[platform::VK_ESCAPE] != 0 || escape_pressed) done = true;
        escape_pressed = false;
        if (controls.flying) fly_step();
    }
}

}  // namespace

int main(int argc, char** argv) {
    const parsed_player_options parsed = parse_player_options(argc, argv);
    if (!parsed.ok) {
        std::fprintf(stderr, "trof_player: %s\n\n%s", parsed.error.c_str(), player_usage);
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(player_usage, stdout);
        return 0;
    }
    run_module_startups();
    // The demo's own window creation and start-up, in a window: assets,
    // "loading", the scene inits and the music.
    if (!create_window("trof_player", screen_width, screen_height, 32, false)) return 1;
    platform::set_window_resizable(true);
    init_player_view();
    // From here the frames are drawn at the times the transport chooses,
    // with the boy's ticks following them, as the capture tool draws them.
    use_chosen_show_times();
    transport_seek(parsed.options.at_ms);
    transport_set_paused(parsed.options.paused);
    run(parsed.options);
    kill_window();
    return 0;
}
