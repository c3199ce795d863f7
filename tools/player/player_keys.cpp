// Key-downs of the player's own keys act here; while flying, the arrows and
// Page Up/Down belong to the camera editor as in the demo instead of
// seeking. The editor flies held_camera, which the on-screen environment
// shows in place of its path, so that its moves stay visible and K can put
// the view into the path as a key.
#include "player_keys.h"

#include <cstdio>

#include "assets/qor_spline.h"
#include "frame/camera_editor.h"
#include "frame/globals.h"
#include "frame/live_reload.h"
#include "scenes/camera_paths.h"
#include "player_status.h"
#include "transport.h"

using namespace platform;

player_controls controls;

namespace {

constexpr uint32_t key_backspace = 8;
constexpr uint32_t key_f = 'F';
constexpr uint32_t key_k = 'K';
constexpr uint32_t key_r = 'R';
constexpr int32_t short_seek_ms = 1000;
constexpr int32_t long_seek_ms = 10000;

bool is_editor_key(uint32_t key) {
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN || key == VK_PRIOR ||
           key == VK_NEXT;
}

// The transport's uses of the editor's keys, outside flight.
bool transport_key(uint32_t key) {
    const int32_t seek = key_state[VK_SHIFT] != 0 ? long_seek_ms : short_seek_ms;
    switch (key) {
    case VK_LEFT: transport_seek(transport.time - seek); return true;
    case VK_RIGHT: transport_seek(transport.time + seek); return true;
    case VK_PRIOR: transport_jump_boundary(-1); return true;
    case VK_NEXT: transport_jump_boundary(1); return true;
    default: return false;
    }
}

void start_flight() {
    controls.flying = true;
    path_follow on_screen{};
    held_environment = environment_on_screen(on_screen) ? on_screen.environment : 0;
    if (held_environment != 0) {
        interpolate_camera(held_camera, environment_cameras[held_environment - 1].path, on_screen.t);
        tell("flying in en" + std::to_string(held_environment) + "; K puts the view into its path");
    } else {
        held_camera = current_camera;
        tell("flying; no camera path on screen");
    }
    current_camera = held_camera;
}

void end_flight() {
    controls.flying = false;
    held_environment = 0;
    for (uint32_t key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT}) key_state[key] = 0;
    transport.exact = true;
}

void fix_key() {
    path_follow on_screen{};
    if (!controls.flying || held_environment == 0 || !environment_on_screen(on_screen) ||
        on_screen.environment != held_environment) {
        tell("K: fly (F) in an environment with a camera path first");
        return;
    }
    const int slot = fix_environment_key(held_environment, on_screen.t, held_camera);
    save_environment_path(held_environment);
    tell("en" + std::to_string(held_environment) + ": key " + std::to_string(slot) + " fixed at t " +
         std::to_string(on_screen.t) + ", saved to " + environment_cameras[held_environment - 1].file_name);
}

void reload(bool everything) {
    const std::string failure = everything ? reload_show_data() : reload_camera_paths();
    const char* what = everything ? "R: textures, meshes and camera paths" : "F5: camera paths";
    tell(failure.empty() ? std::string(what) + " reloaded" : std::string(what) + " kept: " + failure);
    transport.exact = true;
}

// A key-down of the player's own keys; false for every other key.
bool player_key_down(uint32_t key) {
    if (is_editor_key(key)) return !controls.flying && transport_key(key);
    switch (key) {
    case VK_SPACE: transport_set_paused(!transport.paused); return true;
    case VK_OEM_COMMA: transport_step(-1); return true;
    case VK_OEM_PERIOD: transport_step(1); return true;
    case VK_OEM_4: transport_mark_loop_start(); return true;
    case VK_OEM_6: transport_mark_loop_end(); return true;
    case key_backspace: transport_clear_loop(); return true;
    case VK_TAB: controls.overlay = !controls.overlay; return true;
    case VK_F5: reload(false); return true;
    case key_r: reload(true); return true;
    case VK_F11:
        controls.fullscreen = !controls.fullscreen;
        set_desktop_fullscreen(controls.fullscreen);
        return true;
    case VK_F12: controls.shot_wanted = true; return true;
    case key_f:
        if (controls.flying) {
            end_flight();
        } else {
            start_flight();
        }
        return true;
    case key_k: fix_key(); return true;
    default: return false;
    }
}

}  // namespace

void tell(const std::string& message) {
    controls.message = message;
    std::printf("trof_player: %s\n", message.c_str());
    std::fflush(stdout);
}

bool handle_player_message(const message& m) {
    if (m.msg == WM_KEYDOWN) return player_key_down(static_cast<uint32_t>(m.wparam));
    // The release of a key the player took is the player's too.
    if (m.msg == WM_KEYUP && is_editor_key(static_cast<uint32_t>(m.wparam))) return !controls.flying;
    return false;
}

void fly_step() {
    current_camera = held_camera;
    camera_editor_step();
    held_camera = current_camera;
}
