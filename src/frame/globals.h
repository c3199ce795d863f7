// Shared state of the application frame: the key states written by the
// window procedure, the full-screen flag, the camera that scenes apply and
// the editor moves, and the path the editor records into.
#pragma once

#include <cstdint>

#include "assets/qor_camera.h"

// Non-zero while the key with that Win32 virtual-key code is down. Written by
// window_proc (-1 down, 0 up); draw_frame sets entry 27 to end the run.
extern int32_t key_state[256];
// Set by window_proc on every Escape key-down; message_loop reads and clears
// it after each frame, so a tap that ends before the frame does still counts.
extern bool escape_pressed;
// Set by win_main, cleared by create_window when the user accepts a window.
extern int32_t fullscreen;
// Set while the left mouse button is held (window_proc).
extern bool mouse_look;

// Written by scenes every frame and by the editor's moves.
extern camera_record current_camera;
// Grows by one key per right-click (window_proc).
extern camera_path recorded_path;

// Start-up values of the shared camera and the editor path; runs before the
// window exists.
void init_shared_globals();
