// The Win32 backend of the window-system layer: each operation is the Win32,
// GDI or WGL call it is named after. The class's window procedure hands every
// message, posted or sent, to the procedure the frame registered; messages
// and key codes are Win32's own, so they pass through unchanged. Offscreen,
// the window is a popup of the same client size that is never shown, and its
// GL back buffer is rendered and read back.
//
// <windows.h> defines the Win32 names platform.h also declares (WM_CLOSE,
// MB_YESNO, ...) as macros, so platform.h comes first; past <windows.h> those
// names are Win32's macros, which the checks below compare with the layer's.
#include "platform/platform.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

constexpr auto layer_values = std::to_array<uintptr_t>({
    platform::WM_ACTIVATE, platform::WM_CLOSE, platform::WM_QUIT, platform::WM_KEYDOWN,
    platform::WM_KEYUP, platform::WM_SYSKEYDOWN, platform::WM_SYSKEYUP, platform::WM_SYSCOMMAND,
    platform::WM_LBUTTONDOWN, platform::WM_LBUTTONUP, platform::WM_RBUTTONUP,
    platform::SC_SCREENSAVE, platform::SC_MONITORPOWER,
    platform::VK_SHIFT, platform::VK_ESCAPE, platform::VK_PRIOR, platform::VK_NEXT,
    platform::VK_END, platform::VK_HOME, platform::VK_LEFT, platform::VK_UP, platform::VK_RIGHT,
    platform::VK_DOWN, platform::VK_F4,
    platform::MB_OK, platform::MB_YESNO, platform::MB_ICONERROR, platform::MB_ICONEXCLAMATION,
    platform::MB_ICONINFORMATION, platform::IDOK, platform::IDYES, platform::IDNO,
    platform::WS_POPUP, platform::WS_CLIPSIBLINGS, platform::WS_CLIPCHILDREN,
    platform::WS_OVERLAPPEDWINDOW, platform::WS_EX_WINDOWEDGE, platform::WS_EX_APPWINDOW,
});

}  // namespace

#define WIN32_LEAN_AND_MEAN 1
#define NOMINMAX 1
#include <windows.h>

namespace {

constexpr auto win32_values = std::to_array<uintptr_t>({
    WM_ACTIVATE, WM_CLOSE, WM_QUIT, WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP,
    WM_SYSCOMMAND, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP,
    SC_SCREENSAVE, SC_MONITORPOWER,
    VK_SHIFT, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP, VK_RIGHT,
    VK_DOWN, VK_F4,
    MB_OK, MB_YESNO, MB_ICONERROR, MB_ICONEXCLAMATION, MB_ICONINFORMATION, IDOK, IDYES, IDNO,
    WS_POPUP, WS_CLIPSIBLINGS, WS_CLIPCHILDREN, WS_OVERLAPPEDWINDOW, WS_EX_WINDOWEDGE,
    WS_EX_APPWINDOW,
});
static_assert(layer_values == win32_values, "the layer's Win32 values pass through unchanged");

}  // namespace

namespace platform {
namespace {

struct {
    bool offscreen = false;
    char class_name[64] = "";
    window_procedure proc = nullptr;
    HWND window = nullptr;
    // The window whose message the frame's procedure is handling now; the
    // default handling it passes on belongs to that window.
    HWND handling = nullptr;
    HDC device_context = nullptr;
    PIXELFORMATDESCRIPTOR pixel_format{};
    int pixel_format_index = 0;
    HGLRC context = nullptr;
    // What peek_message returned last, for dispatch_message to hand to Win32.
    MSG last_message{};
    bool ticks_fixed = false;
    uint32_t fixed_ticks = 0;
    // The window's style and place before set_desktop_fullscreen covered
    // the monitor with it.
    bool desktop_fullscreen = false;
    POINT least_size{};  // the outer size set_window_resizable keeps as the least
    LONG_PTR windowed_style = 0;
    RECT windowed_rect{};
} state;

// The class's window procedure. Sent messages (WM_CREATE during creation,
// WM_CLOSE from the close box, WM_SYSCOMMAND for the screen saver) arrive
// here directly, posted ones through dispatch_message.
LRESULT CALLBACK route_message(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
    // A resizable window keeps at least the size it was made with.
    if (msg == WM_GETMINMAXINFO && state.least_size.x > 0) {
        reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = state.least_size;
        return 0;
    }
    if (state.proc == nullptr) return DefWindowProcA(window, msg, wparam, lparam);
    HWND const outer = state.handling;
    state.handling = window;
    const LRESULT result = state.proc(msg, wparam, lparam);
    state.handling = outer;
    return result;
}

}  // namespace

void use_offscreen(bool offscreen) { state.offscreen = offscreen; }

bool register_class(const char* class_name, window_procedure proc) {
    WNDCLASSA window_class{};
    window_class.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    window_class.lpfnWndProc = route_message;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = class_name;
    if (RegisterClassA(&window_class) == 0) return false;
    std::snprintf(state.class_name, sizeof state.class_name, "%s", class_name);
    state.proc = proc;
    return true;
}

bool unregister_class(const char* class_name) {
    if (UnregisterClassA(class_name, GetModuleHandleA(nullptr)) == 0) return false;
    state.class_name[0] = '\0';
    state.proc = nullptr;
    return true;
}

bool change_display_mode(int width, int height, int bits) {
    // A headless run leaves the user's display as it is.
    if (state.offscreen) return false;
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = static_cast<DWORD>(bits);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) return false;
    // A display that answers success but keeps another size would put every
    // screen copy and read-back in the wrong place.
    DEVMODEA current{};
    current.dmSize = sizeof current;
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current) != 0 &&
        current.dmPelsWidth == mode.dmPelsWidth && current.dmPelsHeight == mode.dmPelsHeight) {
        return true;
    }
    ChangeDisplaySettingsA(nullptr, 0);
    return false;
}

void restore_display_mode() { ChangeDisplaySettingsA(nullptr, 0); }

bool create_window(const char* title, int width, int height, uint32_t style, uint32_t ex_style) {
    // Offscreen the window is a bare popup: Win32 keeps a window with a
    // caption within the desktop's size, and the picture read back needs
    // the whole width x height however small the desktop is.
    const DWORD window_style = state.offscreen ? WS_POPUP : style;
    const DWORD window_ex_style = state.offscreen ? 0 : ex_style;
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, window_style, FALSE, window_ex_style);
    // Made without WS_VISIBLE: show_window shows it, and offscreen nothing does.
    state.window = CreateWindowExA(window_ex_style, state.class_name, title, window_style, 0, 0,
                                   frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
    return state.window != nullptr;
}

bool destroy_window() {
    if (state.window == nullptr) return false;
    const bool destroyed = DestroyWindow(state.window) != 0;
    state.window = nullptr;
    return destroyed;
}

bool get_device_context() {
    state.device_context = GetDC(state.window);
    return state.device_context != nullptr;
}

bool release_device_context() {
    if (state.device_context == nullptr) return false;
    const bool released = ReleaseDC(state.window, state.device_context) != 0;
    state.device_context = nullptr;
    return released;
}

bool choose_pixel_format(int colour_bits, int depth_bits) {
    state.pixel_format = PIXELFORMATDESCRIPTOR{};
    state.pixel_format.nSize = sizeof state.pixel_format;
    state.pixel_format.nVersion = 1;
    state.pixel_format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    state.pixel_format.iPixelType = PFD_TYPE_RGBA;
    state.pixel_format.cColorBits = static_cast<BYTE>(colour_bits);
    state.pixel_format.cDepthBits = static_cast<BYTE>(depth_bits);
    state.pixel_format.iLayerType = PFD_MAIN_PLANE;
    state.pixel_format_index = ChoosePixelFormat(state.device_context, &state.pixel_format);
    return state.pixel_format_index != 0;
}

bool set_pixel_format() {
    return SetPixelFormat(state.device_context, state.pixel_format_index, &state.pixel_format) != 0;
}

bool create_gl_context() {
    state.context = wglCreateContext(state.device_context);
    return state.context != nullptr;
}

bool make_current(bool attach) {
    return wglMakeCurrent(state.device_context, attach ? state.context : nullptr) != 0;
}

bool context_has_pixel_format(int colour_bits, int depth_bits) {
    // The format the window really got, which the driver may have widened.
    const int index = GetPixelFormat(state.device_context);
    PIXELFORMATDESCRIPTOR got{};
    if (index == 0 || DescribePixelFormat(state.device_context, index, sizeof got, &got) == 0) {
        return false;
    }
    // The colour bits count without alpha, which the demo never asks for.
    const int colour = got.cRedBits + got.cGreenBits + got.cBlueBits;
    return colour >= std::min(colour_bits, 24) && got.cDepthBits >= depth_bits &&
           (got.dwFlags & PFD_DOUBLEBUFFER) != 0;
}

bool delete_gl_context() {
    if (state.context == nullptr) return false;
    const bool deleted = wglDeleteContext(state.context) != 0;
    state.context = nullptr;
    return deleted;
}

void show_window() {
    if (state.window == nullptr || state.offscreen) return;
    ShowWindow(state.window, SW_SHOW);
    SetForegroundWindow(state.window);
    SetFocus(state.window);
}

void set_window_resizable(bool resizable) {
    if (state.window == nullptr) return;
    constexpr LONG_PTR sizing = WS_THICKFRAME | WS_MAXIMIZEBOX;
    RECT outer{};
    GetWindowRect(state.window, &outer);
    state.least_size = resizable ? POINT{outer.right - outer.left, outer.bottom - outer.top} : POINT{};
    const LONG_PTR style = GetWindowLongPtrA(state.window, GWL_STYLE);
    SetWindowLongPtrA(state.window, GWL_STYLE, resizable ? style | sizing : style & ~sizing);
    SetWindowPos(state.window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void set_desktop_fullscreen(bool on) {
    if (state.window == nullptr || state.offscreen || on == state.desktop_fullscreen) return;
    state.desktop_fullscreen = on;
    if (on) {
        state.windowed_style = GetWindowLongPtrA(state.window, GWL_STYLE);
        GetWindowRect(state.window, &state.windowed_rect);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoA(MonitorFromWindow(state.window, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& area = monitor.rcMonitor;
        SetWindowLongPtrA(state.window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        SetWindowPos(state.window, HWND_TOP, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_FRAMECHANGED);
        return;
    }
    const RECT& area = state.windowed_rect;
    SetWindowLongPtrA(state.window, GWL_STYLE, state.windowed_style);
    SetWindowPos(state.window, nullptr, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOZORDER | SWP_FRAMECHANGED);
}

void get_drawable_size(int& width, int& height) {
    RECT client{};
    if (state.window != nullptr) GetClientRect(state.window, &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
}

bool peek_message(message& out) {
    MSG peeked;
    if (PeekMessageA(&peeked, nullptr, 0, 0, PM_REMOVE) == 0) return false;
    state.last_message = peeked;
    out = message{peeked.message, peeked.wParam, peeked.lParam};
    return true;
}

void post_quit_message(int code) { PostQuitMessage(code); }

intptr_t dispatch_message(const message& m) {
    // The message just peeked goes to its own window through Win32; any
    // other reaches the procedure directly, on behalf of the demo's window.
    const MSG& last = state.last_message;
    if (last.hwnd != nullptr && last.message == m.msg && last.wParam == m.wparam &&
        last.lParam == m.lparam) {
        return DispatchMessageA(&last);
    }
    return route_message(state.window, m.msg, m.wparam, m.lparam);
}

intptr_t default_window_proc(uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    HWND const window = state.handling != nullptr ? state.handling : state.window;
    return DefWindowProcA(window, msg, wparam, lparam);
}

void swap_buffers() {
    if (state.device_context != nullptr) SwapBuffers(state.device_context);
}

int message_box(const char* text, const char* caption, uint32_t style) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    const int default_answer = (style & 0xF) == MB_YESNO ? IDYES : IDOK;
    if (state.offscreen) return default_answer;
    const int pressed = MessageBoxA(nullptr, text, caption, style);
    return pressed != 0 ? pressed : default_answer;
}

void show_cursor(bool visible) {
    // Win32 counts the calls: the cursor shows while the count is not negative.
    if (visible) {
        while (ShowCursor(TRUE) < 0) {
        }
    } else {
        while (ShowCursor(FALSE) >= 0) {
        }
    }
}

void get_cursor_pos(int& x, int& y) {
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    x = cursor.x;
    y = cursor.y;
}

uint32_t tick_count() { return state.ticks_fixed ? state.fixed_ticks : GetTickCount(); }

void set_fixed_ticks(uint32_t ms) {
    state.ticks_fixed = true;
    state.fixed_ticks = ms;
}

void clear_fixed_ticks() { state.ticks_fixed = false; }

}  // namespace platform
