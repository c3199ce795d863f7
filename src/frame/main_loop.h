// The spine of the demo: entry, start-up, the message loop and the per-frame
// driver over the scene table, and the shared random generator.
#pragma once

#include <cstdint>

namespace platform {
struct message;
}

// The music time of the frame being drawn: written by draw_frame once per
// frame, read by the show driver's callers and the tests.
extern int32_t music_time;

// Everything that runs before the window exists, in dependency order.
void run_module_startups();
// False when the window could not be made (its message has been shown).
bool win_main();
// The start-up inside window creation, right after resize_view.
void init_gl();
void resize_view(int32_t width, int32_t height);
// The init of every scene in the table, in slot order (the last step of
// init_gl before the music starts).
void init_scenes();
// One message or one frame per pass until WM_QUIT or Escape.
void message_loop();
// The loop's message half: false when the queue is empty; otherwise one
// message is taken, WM_QUIT sets done and any other goes to the window
// procedure, unless `take` (when given) answers that it took it.
bool handle_pending_message(bool& done, bool (*take)(const platform::message& m));
void draw_frame();

constexpr uint32_t initial_random_seed = 0x34873137;
void set_random_seed(uint32_t seed);
uint32_t random_seed();
uint32_t random_int(uint32_t n);

// Told the name of each start-up phase as it finishes ("context" when init_gl
// begins, "render_targets", "assets", "scene_inits"); the capture tool times
// them.
void set_startup_observer(void (*observer)(const char* phase));
