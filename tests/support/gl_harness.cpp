// The headless GL context for render tests, made through the same platform
// layer as the demo's window (offscreen backend: SDL's offscreen driver, EGL).
#include "support/gl_harness.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "engine/qor_views.h"
#include "frame_render.h"
#include "platform/platform.h"
#include "png_file.h"

namespace {

intptr_t test_window_proc(uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    return platform::default_window_proc(msg, wparam, lparam);
}

bool context_ready = false;

}  // namespace

void gl_harness_init() {
    if (context_ready) return;
    platform::use_offscreen(true);
    const bool ok = platform::register_class("trof_test", test_window_proc) &&
                    platform::create_window("trof_test", screen_width, screen_height,
                                            platform::WS_OVERLAPPEDWINDOW, 0) &&
                    platform::get_device_context() && platform::choose_pixel_format(32, 24) &&
                    platform::set_pixel_format() && platform::create_gl_context() &&
                    platform::make_current(true);
    if (!ok) throw std::runtime_error("no headless GL context");
    glViewport(0, 0, screen_width, screen_height);
    context_ready = true;
}

std::vector<uint8_t> read_frame() { return read_back_frame(); }

rgb overlay_pixel(int x, int y) {
    uint8_t p[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, screen_height - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    return rgb{p[0], p[1], p[2]};
}

bool write_png(const std::string& path, const std::vector<uint8_t>& rgb_rows, int width,
               int height) {
    return write_png_file(path, rgb_rows.data(), width, height);
}

std::string make_temp_dir(const char* tag) {
    std::string pattern = (std::filesystem::temp_directory_path() / tag).string() + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}
