// The SDL2 backend of the window-system layer. SDL events become the Win32
// messages the window procedure knows, with Win32 virtual-key codes; the
// offscreen variant gives an invisible 640x480 GL surface through SDL's
// offscreen video driver (EGL), for the capture tool and the tests.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <strings.h>

#include "platform/platform.h"
#include "platform/sdl_keymap.h"

namespace platform {
namespace {

struct {
    bool offscreen = false;
    bool video_up = false;
    char class_name[64] = "";
    window_procedure proc = nullptr;
    bool fullscreen_mode = false;
    SDL_DisplayMode mode{};
    SDL_Window* window = nullptr;
    bool device_context = false;
    bool pixel_format_chosen = false;
    SDL_GLContext context = nullptr;
    std::deque<message> queue;
    bool ticks_fixed = false;
    uint32_t fixed_ticks = 0;
} state;

void post(uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    state.queue.push_back(message{msg, wparam, lparam});
}

// The window does not capture the mouse: a button released over another
// window belongs to that window, as on Win32. X11 still hands the release to
// the window the press went to, and SDL moves its position inside, so where
// the pointer really is decides.
bool pointer_over_client_area() {
    if (state.window == nullptr) return false;
    int x = 0, y = 0, left = 0, top = 0, width = 0, height = 0;
    SDL_GetGlobalMouseState(&x, &y);
    SDL_GetWindowPosition(state.window, &left, &top);
    SDL_GetWindowSize(state.window, &width, &height);
    return x >= left && y >= top && x < left + width && y < top + height;
}

void translate_event(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const uint32_t vk = virtual_key_for_sdl_keycode(event.key.keysym.sym);
        if (vk == 0) return;
        // Keys pressed with Alt arrive as system keys, as they do on Win32.
        const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
        const bool down = event.type == SDL_KEYDOWN;
        const uint32_t msg = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP)
                                 : (down ? WM_KEYDOWN : WM_KEYUP);
        post(msg, vk, 0);
        return;
    }
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) post(WM_LBUTTONDOWN, 0, 0);
        return;
    case SDL_MOUSEBUTTONUP:
        if (!pointer_over_client_area()) return;
        if (event.button.button == SDL_BUTTON_LEFT) post(WM_LBUTTONUP, 0, 0);
        if (event.button.button == SDL_BUTTON_RIGHT) post(WM_RBUTTONUP, 0, 0);
        return;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) post(WM_CLOSE, 0, 0);
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) post(WM_ACTIVATE, 1, 0);
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) post(WM_ACTIVATE, 0, 0);
        return;
    case SDL_QUIT:
        post(WM_CLOSE, 0, 0);
        return;
    default:
        return;
    }
}

// Where no display answers, SDL falls back to its offscreen driver, which
// would play the show with music in a window nobody sees: the live demo
// takes a stand-in driver only when one is asked for by name.
bool unasked_stand_in_driver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool stand_in = driver != nullptr && (std::strcmp(driver, "offscreen") == 0 ||
                                                std::strcmp(driver, "dummy") == 0);
    return stand_in && SDL_GetHint(SDL_HINT_VIDEODRIVER) == nullptr;
}

// The window class's fixed failure text does not say why; this line does.
bool no_display(const char* reason) {
    std::fprintf(stderr, "Cannot open the display: %s\n", reason);
    return false;
}

}  // namespace

void use_offscreen(bool offscreen) {
    state.offscreen = offscreen;
    if (offscreen) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
}

bool register_class(const char* class_name, window_procedure proc) {
    if (!state.video_up) {
        // The demo keeps the screen saver and monitor power-saving away
        // while it runs, as its window procedure does on Win32.
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
        SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return no_display(SDL_GetError());
        if (unasked_stand_in_driver()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
            return no_display("no X11 or Wayland display answered (DISPLAY, WAYLAND_DISPLAY)");
        }
        SDL_DisableScreenSaver();
        state.video_up = true;
    }
    std::snprintf(state.class_name, sizeof state.class_name, "%s", class_name);
    state.proc = proc;
    return true;
}

bool unregister_class(const char* class_name) {
    if (state.class_name[0] == '\0' || strcasecmp(state.class_name, class_name) != 0) return false;
    state.class_name[0] = '\0';
    state.proc = nullptr;
    return true;
}

bool change_display_mode(int width, int height, int bits) {
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    wanted.format = bits >= 24 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
    SDL_DisplayMode closest{};
    if (SDL_GetClosestDisplayMode(0, &wanted, &closest) == nullptr) return false;
    // A larger mode would put every screen copy and read-back in the wrong place.
    if (closest.w != width || closest.h != height) return false;
    state.mode = closest;
    state.fullscreen_mode = true;
    return true;
}

void restore_display_mode() {
    if (state.window != nullptr && state.fullscreen_mode) SDL_SetWindowFullscreen(state.window, 0);
    state.fullscreen_mode = false;
}

bool create_window(const char* title, int width, int height, uint32_t style, uint32_t) {
    // SDL fixes the pixel format when the window is made, so the format the
    // demo always asks for is requested here: the two pixel-format steps
    // that follow can only confirm a GL window, and context_has_pixel_format
    // checks what the context really got once it exists.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    uint32_t flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if ((style & WS_POPUP) != 0 && state.fullscreen_mode) flags |= SDL_WINDOW_FULLSCREEN;
    if ((style & WS_POPUP) != 0) flags |= SDL_WINDOW_BORDERLESS;
    state.window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (state.window == nullptr) return false;
    if (flags & SDL_WINDOW_FULLSCREEN) SDL_SetWindowDisplayMode(state.window, &state.mode);
    return true;
}

bool destroy_window() {
    if (state.window == nullptr) return false;
    SDL_DestroyWindow(state.window);
    state.window = nullptr;
    return true;
}

// SDL has no device context: the window stands in for it.
bool get_device_context() {
    state.device_context = state.window != nullptr;
    return state.device_context;
}

bool release_device_context() {
    const bool had = state.device_context;
    state.device_context = false;
    return had;
}

bool choose_pixel_format(int colour_bits, int depth_bits) {
    if (!state.device_context) return false;
    state.pixel_format_chosen = colour_bits > 0 && depth_bits <= 24 &&
                                (SDL_GetWindowFlags(state.window) & SDL_WINDOW_OPENGL) != 0;
    return state.pixel_format_chosen;
}

bool set_pixel_format() { return state.pixel_format_chosen; }

bool create_gl_context() {
    if (state.window == nullptr) return false;
    state.context = SDL_GL_CreateContext(state.window);
    return state.context != nullptr;
}

bool make_current(bool attach) {
    if (state.window == nullptr) return false;
    return SDL_GL_MakeCurrent(state.window, attach ? state.context : nullptr) == 0;
}

bool context_has_pixel_format(int colour_bits, int depth_bits) {
    int red = 0, green = 0, blue = 0, depth = 0, double_buffered = 0;
    SDL_GL_GetAttribute(SDL_GL_RED_SIZE, &red);
    SDL_GL_GetAttribute(SDL_GL_GREEN_SIZE, &green);
    SDL_GL_GetAttribute(SDL_GL_BLUE_SIZE, &blue);
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &double_buffered);
    // The colour bits count without alpha, which the demo never asks for.
    const bool colour = red + green + blue >= std::min(colour_bits, 24);
    // An offscreen surface is read back, never shown: it has no back buffer.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool offscreen = driver != nullptr && std::strcmp(driver, "offscreen") == 0;
    const bool buffered = offscreen || double_buffered != 0;
    return colour && depth >= depth_bits && buffered;
}

bool delete_gl_context() {
    if (state.context == nullptr) return false;
    SDL_GL_DeleteContext(state.context);
    state.context = nullptr;
    return true;
}

void show_window() {
    if (state.window == nullptr || state.offscreen) return;
    SDL_ShowWindow(state.window);
    SDL_RaiseWindow(state.window);
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(state.window, &w, &h);
    int want_w = 0, want_h = 0;
    SDL_GetWindowSize(state.window, &want_w, &want_h);
    if ((SDL_GetWindowFlags(state.window) & SDL_WINDOW_FULLSCREEN) && (w != want_w || h != want_h)) {
        // The display took the window but not the mode: a window of the
        // right size is the only picture that reads back correctly.
        std::fprintf(stderr, "trof_dms: full-screen drawable is %dx%d, using a window\n", w, h);
        SDL_SetWindowFullscreen(state.window, 0);
        SDL_SetWindowSize(state.window, want_w, want_h);
    }
}

void set_window_resizable(bool resizable) {
    if (state.window == nullptr) return;
    SDL_SetWindowResizable(state.window, resizable ? SDL_TRUE : SDL_FALSE);
    int width = 0, height = 0;
    SDL_GetWindowSize(state.window, &width, &height);
    SDL_SetWindowMinimumSize(state.window, resizable ? width : 1, resizable ? height : 1);
}

void set_desktop_fullscreen(bool on) {
    if (state.window == nullptr || state.offscreen) return;
    SDL_SetWindowFullscreen(state.window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void get_drawable_size(int& width, int& height) {
    width = 0;
    height = 0;
    if (state.window != nullptr) SDL_GL_GetDrawableSize(state.window, &width, &height);
}

bool peek_message(message& out) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) translate_event(event);
    if (state.queue.empty()) return false;
    out = state.queue.front();
    state.queue.pop_front();
    return true;
}

void post_quit_message(int code) { post(WM_QUIT, static_cast<uintptr_t>(code), 0); }

intptr_t dispatch_message(const message& m) {
    if (state.proc == nullptr) return default_window_proc(m.msg, m.wparam, m.lparam);
    return state.proc(m.msg, m.wparam, m.lparam);
}

intptr_t default_window_proc(uint32_t msg, uintptr_t wparam, intptr_t) {
    // Alt+F4 closes the window, as the system's default handling does.
    if (msg == WM_SYSKEYDOWN && wparam == VK_F4) post(WM_CLOSE, 0, 0);
    return 0;
}

void swap_buffers() {
    if (state.window != nullptr) SDL_GL_SwapWindow(state.window);
}

int message_box(const char* text, const char* caption, uint32_t style) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    const bool yes_no = (style & 0xF) == MB_YESNO;
    const int default_answer = yes_no ? IDYES : IDOK;
    if (state.offscreen) return default_answer;

    uint32_t flags = SDL_MESSAGEBOX_INFORMATION;
    if ((style & 0xF0) == MB_ICONERROR) flags = SDL_MESSAGEBOX_ERROR;
    if ((style & 0xF0) == MB_ICONEXCLAMATION) flags = SDL_MESSAGEBOX_WARNING;
    const SDL_MessageBoxButtonData yes_no_buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
    };
    const SDL_MessageBoxButtonData ok_button[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
         "OK"},
    };
    SDL_MessageBoxData box{};
    box.flags = flags;
    box.title = caption;
    box.message = text;
    box.numbuttons = yes_no ? 2 : 1;
    box.buttons = yes_no ? yes_no_buttons : ok_button;
    int pressed = default_answer;
    if (SDL_ShowMessageBox(&box, &pressed) < 0 || pressed < 0) return default_answer;
    return pressed;
}

void show_cursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

void get_cursor_pos(int& x, int& y) {
    x = 0;
    y = 0;
    if (state.video_up) SDL_GetGlobalMouseState(&x, &y);
}

uint32_t tick_count() { return state.ticks_fixed ? state.fixed_ticks : SDL_GetTicks(); }

void set_fixed_ticks(uint32_t ms) {
    state.ticks_fixed = true;
    state.fixed_ticks = ms;
}

void clear_fixed_ticks() { state.ticks_fixed = false; }

}  // namespace platform
