// The spine of the demo: module start-ups, win_main with its message loop,
// the one-time start-up init_gl, the projection set-up and the per-frame
// driver that walks the scene table with the music time.
#include "frame/main_loop.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "assets/scene_globaldata.h"
#include "engine/globalscenes.h"
#include "engine/music_clock.h"
#include "engine/qor_font.h"
#include "engine/qor_views.h"
#include "engine/render_targets.h"
#include "frame/camera_editor.h"
#include "frame/globals.h"
#include "frame/window.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "scenes/camera_paths.h"
#include "scenes/environment_steps.h"

int32_t music_time;

namespace {

uint32_t seed;
void (*startup_observer)(const char* phase) = nullptr;

// The time past which the process ends at once, whatever is on screen.
constexpr int32_t emergency_end_ms = 224000;

void phase_done(const char* phase) {
    if (startup_observer != nullptr) startup_observer(phase);
}

}  // namespace

void set_startup_observer(void (*observer)(const char* phase)) { startup_observer = observer; }

void run_module_startups() {
    sound::mask_float_exceptions();
    init_shared_globals();
    create_scene_table();
}

bool win_main() {
    fullscreen = -1;
    if (!create_window("trof_dms", screen_width, screen_height, 32, fullscreen != 0)) return false;
    message_loop();
    kill_window();
    return true;
}

bool handle_pending_message(bool& done, bool (*take)(const platform::message& m)) {
    platform::message m;
    if (!platform::peek_message(m)) return false;
    if (m.msg == platform::WM_QUIT) {
        done = true;
    } else if (take == nullptr || !take(m)) {
        platform::dispatch_message(m);
    }
    return true;
}

void message_loop() {
    bool done = false;
    while (!done) {
        if (handle_pending_message(done, nullptr)) continue;
        draw_frame();
        platform::swap_buffers();
        if (key_state[platform::VK_ESCAPE] != 0 || escape_pressed) done = true;
        escape_pressed = false;
        camera_editor_step();
    }
}

void init_gl() {
    phase_done("context");
    // The pictures decode on workers while this thread makes the render
    // targets and uploads. Not before the window: every message box the
    // window's creation may show can fork a helper program, and a fork
    // while workers run can leave the child hung on a lock they held.
    begin_asset_decoding();
    seed = initial_random_seed;
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glClearColor(0, 0, 0, 0.5f);
    create_render_targets();
    phase_done("render_targets");
    begin_overlay();
    load_assets();
    phase_done("assets");
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw_text("loading", find_texture(texture_table, "font"), 320, 240, 30, 30, 30, 0.5f, 0.5f,
              0.5f, 1);
    platform::swap_buffers();
    init_scenes();
    phase_done("scene_inits");
    start_music();
}

void init_scenes() {
    for (qor_genericscene* scene : scene_table) {
        if (scene != nullptr) scene->init();
    }
    build_deferred_lists();
}

void resize_view(int32_t width, int32_t height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, static_cast<double>(width) / static_cast<double>(height), 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void draw_frame() {
    music_time = read_music_clock();
    forget_path_follows();
    // Ends at once, without drawing or kill_window (the display mode is
    // still put back).
    if (music_time >= emergency_end_ms) end_at_once(0);
    for (qor_genericscene* scene : scene_table) {
        if (scene != nullptr && scene->progress(music_time) != -1.0f) scene->render(music_time);
    }
    const qor_genericscene* outro = scene_table[outro_slot];
    if (outro != nullptr && music_time > outro->endtime) key_state[platform::VK_ESCAPE] = -1;
}

void set_random_seed(uint32_t value) { seed = value; }
uint32_t random_seed() { return seed; }

uint32_t random_int(uint32_t n) {
    seed = seed * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(seed) * n) >> 32);
}
