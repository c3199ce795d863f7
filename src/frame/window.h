// The demo's one window with its GL context and display mode, and the window
// procedure that records keys and mouse buttons.
#pragma once

#include <cstdint>

bool create_window(const char* title, int width, int height, int bits, bool fullscreen_flag);
void kill_window();
intptr_t window_proc(uint32_t msg, uintptr_t wparam, intptr_t lparam);
