// The demo's one window with its GL context and display mode, and the window
// procedure that records keys and mouse buttons.
#pragma once

#include <cstdint>

bool create_window(const char* title, int width, int height, int bits, bool fullscreen_flag);
void kill_window();
// Ends the process at once with the code, without kill_window or exit
// handlers; the display mode and cursor are put back first.
[[noreturn]] void end_at_once(int code);
intptr_t window_proc(uint32_t msg, uintptr_t wparam, intptr_t lparam);
