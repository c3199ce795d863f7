// The window-system layer the frame logic runs on: window class, display
// mode, window, GL context, message queue, message boxes, cursor and ticks.
// It mirrors the Win32/WGL calls the demo was written against, so the frame
// code keeps their order and failure points; sdl_platform.cpp implements it.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Win32 message numbers and parameters the window procedure understands.
enum : uint32_t {
    WM_ACTIVATE = 0x0006,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCOMMAND = 0x0112,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_RBUTTONUP = 0x0205,
};
enum : uintptr_t { SC_SCREENSAVE = 0xF140, SC_MONITORPOWER = 0xF170 };

// Win32 virtual-key codes used by the demo and its editor.
enum : uint32_t {
    VK_SHIFT = 16, VK_ESCAPE = 27, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35,
    VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40,
    VK_F4 = 115,
    // Keys of the author's player.
    VK_TAB = 9, VK_SPACE = 32, VK_F5 = 116, VK_F11 = 122, VK_F12 = 123,
    VK_OEM_COMMA = 188, VK_OEM_PERIOD = 190, VK_OEM_4 = 219, VK_OEM_6 = 221,
};

struct message {
    uint32_t msg = 0;
    uintptr_t wparam = 0;
    intptr_t lparam = 0;
};

using window_procedure = intptr_t (*)(uint32_t msg, uintptr_t wparam, intptr_t lparam);

// Message-box styles: buttons in the low nibble, icons above, as in Win32.
enum : uint32_t {
    MB_OK = 0x0,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum answer : int { IDOK = 1, IDYES = 6, IDNO = 7 };

// Chooses the backend before anything else runs: the real display, or the
// offscreen one (an invisible 640x480 GL surface for capture and tests).
void use_offscreen(bool offscreen);

bool register_class(const char* class_name, window_procedure proc);
// Class names compare without regard to case, as Win32 does.
bool unregister_class(const char* class_name);

// A real mode change; refused unless the display really gives width x height.
bool change_display_mode(int width, int height, int bits);
void restore_display_mode();

// Win32 window styles: a popup window covers the display in the mode set by
// change_display_mode; an overlapped window has a caption and border.
enum : uint32_t {
    WS_POPUP = 0x80000000u,
    WS_CLIPSIBLINGS = 0x04000000u,
    WS_CLIPCHILDREN = 0x02000000u,
    WS_OVERLAPPEDWINDOW = 0x00CF0000u,
    WS_EX_WINDOWEDGE = 0x00000100u,
    WS_EX_APPWINDOW = 0x00040000u,
};

// The client area is exactly width x height, at (0, 0).
bool create_window(const char* title, int width, int height, uint32_t style, uint32_t ex_style);
bool destroy_window();
bool get_device_context();
bool release_device_context();
// Legacy (compatibility) context, double-buffered, 24 depth bits.
bool choose_pixel_format(int colour_bits, int depth_bits);
bool set_pixel_format();
bool create_gl_context();
bool make_current(bool attach);
// What the current context really has: at least the colour and depth bits
// asked for, and a back buffer wherever the picture is shown.
bool context_has_pixel_format(int colour_bits, int depth_bits);
bool delete_gl_context();
void show_window();
// For the author's player: a window the user may resize, never below the
// size it has now (the picture it reads back lies in that part), the
// desktop's own full screen (no mode change) and back, and the size of the
// picture the window shows now, in pixels.
void set_window_resizable(bool resizable);
void set_desktop_fullscreen(bool on);
void get_drawable_size(int& width, int& height);

bool peek_message(message& out);
void post_quit_message(int code);
// Hands a message to the registered window procedure.
intptr_t dispatch_message(const message& m);
// What Win32's DefWindowProc does for the messages the demo passes on.
intptr_t default_window_proc(uint32_t msg, uintptr_t wparam, intptr_t lparam);
void swap_buffers();

// Shows a box and also writes the text to stderr; with no display stderr
// alone carries it and the box's default answer is returned.
int message_box(const char* text, const char* caption, uint32_t style);

void show_cursor(bool visible);
void get_cursor_pos(int& x, int& y);

// Milliseconds, like GetTickCount. A fixed value can be set so that captured
// frames do not depend on the wall clock; clear_fixed_ticks goes back to it.
uint32_t tick_count();
void set_fixed_ticks(uint32_t ms);
void clear_fixed_ticks();

// Maps a demo file name ("data\sky1.jpg") to the platform's separator.
std::string native_path(const char* demo_name);

}  // namespace platform
