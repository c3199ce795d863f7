// The headless GL context for render tests, made through the same platform
// layer as the demo's window (offscreen backend: SDL's offscreen driver, EGL).
#include "support/gl_harness.h"

#include <GL/gl.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "engine/qor_views.h"
#include "platform/platform.h"

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

std::vector<uint8_t> read_frame() {
    std::vector<uint8_t> bottom_up(screen_width * screen_height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, screen_width, screen_height, GL_RGB, GL_UNSIGNED_BYTE, bottom_up.data());
    std::vector<uint8_t> top_down(bottom_up.size());
    const size_t row = screen_width * 3;
    for (int y = 0; y < screen_height; ++y) {
        std::copy_n(bottom_up.begin() + (screen_height - 1 - y) * row, row,
                    top_down.begin() + y * row);
    }
    return top_down;
}

rgb overlay_pixel(int x, int y) {
    uint8_t p[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, screen_height - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    return rgb{p[0], p[1], p[2]};
}

bool write_png(const std::string& path, const std::vector<uint8_t>& rgb_rows, int width,
               int height) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, rgb_rows.data() + static_cast<size_t>(y) * width * 3);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

std::string make_temp_dir(const char* tag) {
    std::string pattern = (std::filesystem::temp_directory_path() / tag).string() + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}
