// Shared state of the application frame: the key states written by the
// window procedure, the full-screen flag, the camera that scenes apply and
// the editor moves, and the path the editor records into.
#pragma once

#include <cstdint>

#include "assets/qor_camera.h"

// Non-zero while the key with that Win32 virtual-key code is down. Written by
// window_proc (-1 down, 0 up) and by draw_frame (entry 27 ends the run); read
// by message_loop (Escape) and the camera editor, which clears Home and End.
extern int32_t key_state[256];
// Set by window_proc on every Escape key-down; message_loop reads and clears
// it after each frame, so a tap that ends before the frame does still counts.
extern bool escape_pressed;
// Set by win_main, cleared by create_window when the user accepts a window;
// read by create_window and kill_window.
extern int32_t fullscreen;
// Set while the left mouse button is held: written by window_proc, read by
// the camera editor.
extern bool mouse_look;

// Written by the module start-up, by the scenes every frame and by the
// editor's moves; read by the scenes (apply_camera) and the editor's record.
extern camera_record current_camera;
// Emptied by the module start-up, grows by one key per right-click (the
// editor's record, from window_proc), which also saves it to default.camera.
extern camera_path recorded_path;

// Start-up values of the shared camera and the editor path; runs before the
// window exists.
void init_shared_globals();
