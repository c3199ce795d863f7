// Drives the show from a chosen music time: the same start-up and frame
// driver as the demo, with the clock and the tick count fixed by the caller.
#include "frame/show_driver.h"

#include "engine/music_clock.h"
#include "engine/qor_views.h"
#include "frame/frame_plan.h"
#include "frame/main_loop.h"
#include "frame/window.h"
#include "platform/platform.h"

namespace {

int32_t chosen_time = 0;

int32_t read_chosen_time() { return chosen_time; }

}  // namespace

void use_chosen_show_times() {
    set_music_clock_source(read_chosen_time);
    platform::set_fixed_ticks(0);
}

void prepare_show_offscreen() {
    platform::use_offscreen(true);
    run_module_startups();
    use_chosen_show_times();
}

bool start_show_offscreen() {
    prepare_show_offscreen();
    return create_window("trof_dms", screen_width, screen_height, 32, false);
}

void draw_show_frame(int32_t time) {
    chosen_time = time;
    platform::set_fixed_ticks(static_cast<uint32_t>(time));
    draw_frame();
}

void draw_show_frame_warmed(int32_t time, int fps) {
    for (int32_t earlier : warmup_times(time, fps)) draw_show_frame(earlier);
    draw_show_frame(time);
}
