// The demo's window: class registration, the full-screen mode change with its
// windowed fallback, window and GL context creation with one failure text per
// step, their release in reverse order, and the window procedure.
#include "frame/window.h"

#include <cstdlib>

#include "frame/camera_editor.h"
#include "frame/globals.h"
#include "frame/main_loop.h"
#include "platform/platform.h"

using namespace platform;

namespace {

bool have_window = false;
bool have_device_context = false;
bool have_rendering_context = false;

constexpr int depth_bits = 24;
constexpr uint32_t fullscreen_style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr uint32_t fullscreen_ex_style = WS_EX_APPWINDOW;
constexpr uint32_t windowed_style = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr uint32_t windowed_ex_style = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;

bool creation_failed(const char* text) {
    kill_window();
    message_box(text, "Error", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void shutdown_error(const char* text) {
    message_box(text, " Shutdown Error", MB_OK | MB_ICONERROR);
}

// Set while the display runs in the demo's mode.
bool display_mode_changed = false;

// The desktop's mode and cursor come back on every way out: kill_window,
// the load errors (through the exit handler) and the emergency end.
void restore_display() {
    if (!display_mode_changed) return;
    display_mode_changed = false;
    restore_display_mode();
    show_cursor(true);
}

}  // namespace

bool create_window(const char* title, int width, int height, int bits, bool fullscreen_flag) {
    fullscreen = fullscreen_flag ? -1 : 0;
    if (!register_class("OpenGl", window_proc)) {
        message_box("Failed To Register The Window Class.", "Error", MB_OK | MB_ICONERROR);
        return false;
    }
    if (fullscreen != 0 && change_display_mode(width, height, bits)) {
        display_mode_changed = true;
        std::atexit(restore_display);
    } else if (fullscreen != 0) {
        if (message_box("This FullScreen Mode Is Not Supported. Use Windowed Mode Instead?",
                        "Kiru GL", MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
            fullscreen = 0;
        } else {
            message_box("Program Will Now Close.", "Error", MB_OK | MB_ICONERROR);
            return false;
        }
    }
    const uint32_t style = fullscreen != 0 ? fullscreen_style : windowed_style;
    const uint32_t ex_style = fullscreen != 0 ? fullscreen_ex_style : windowed_ex_style;
    if (fullscreen != 0) show_cursor(false);

    have_window = platform::create_window(title, width, height, style, ex_style);
    if (!have_window) return creation_failed("Window creation error.");
    have_device_context = get_device_context();
    if (!have_device_context) return creation_failed("Cant't create a GL device context.");
    if (!choose_pixel_format(bits, depth_bits)) return creation_failed("Cant't Find A Suitable PixelFormat.");
    if (!set_pixel_format()) return creation_failed("Cant't set PixelFormat.");
    have_rendering_context = create_gl_context();
    if (!have_rendering_context) return creation_failed("Cant't create a GL rendering context.");
    if (!make_current(true)) return creation_failed("Cant't activate the GL rendering context.");
    // Only now can the layer tell what the pixel format really gave.
    if (!context_has_pixel_format(bits, depth_bits)) {
        return creation_failed("Cant't Find A Suitable PixelFormat.");
    }

    show_window();
    resize_view(width, height);
    init_gl();
    return true;
}

void end_at_once(int code) {
    restore_display();
    std::_Exit(code);
}

void kill_window() {
    if (fullscreen != 0) restore_display();
    if (have_rendering_context) {
        if (!make_current(false)) shutdown_error("Release of DC and RC failed.");
        if (!delete_gl_context()) shutdown_error("Release of Rendering Context failed.");
        have_rendering_context = false;
    }
    if (have_device_context) {
        if (!release_device_context()) shutdown_error("Release of Device Context failed.");
        have_device_context = false;
    }
    if (have_window) {
        if (!destroy_window()) shutdown_error("Could not release hWnd.");
        have_window = false;
    }
    if (!unregister_class("OpenGL")) {
        message_box("Could Not Unregister Class.", "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
    }
}

intptr_t window_proc(uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    switch (msg) {
    case WM_SYSCOMMAND:
        if (wparam == SC_SCREENSAVE || wparam == SC_MONITORPOWER) return 0;
        return default_window_proc(msg, wparam, lparam);
    case WM_ACTIVATE:
        return 0;
    case WM_CLOSE:
        post_quit_message(0);
        return 0;
    case WM_KEYDOWN:
        if (wparam < 256) key_state[wparam] = -1;
        if (wparam == VK_ESCAPE) escape_pressed = true;
        return 0;
    case WM_KEYUP:
        if (wparam < 256) key_state[wparam] = 0;
        return 0;
    case WM_LBUTTONDOWN:
        mouse_look = true;
        return 0;
    case WM_LBUTTONUP:
        mouse_look = false;
        return 0;
    case WM_RBUTTONUP:
        record_camera_view();
        return 0;
    default:
        return default_window_proc(msg, wparam, lparam);
    }
}
