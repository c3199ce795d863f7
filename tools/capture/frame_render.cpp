// One captured frame: the warm-up frames, the frame itself, the read-back.
#include "frame_render.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>

#include "engine/qor_views.h"
#include "frame/show_driver.h"

std::vector<uint8_t> read_back_frame() {
    const size_t row = screen_width * 3;
    std::vector<uint8_t> bottom_up(row * screen_height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, screen_width, screen_height, GL_RGB, GL_UNSIGNED_BYTE, bottom_up.data());
    std::vector<uint8_t> top_down(bottom_up.size());
    for (int y = 0; y < screen_height; ++y) {
        std::copy_n(bottom_up.begin() + static_cast<std::ptrdiff_t>((screen_height - 1 - y) * row), row,
                    top_down.begin() + static_cast<std::ptrdiff_t>(y * row));
    }
    return top_down;
}

std::vector<uint8_t> render_frame_exact(int32_t time, int fps) {
    draw_show_frame_warmed(time, fps);
    return read_back_frame();
}

std::vector<uint8_t> render_next_frame(int32_t time) {
    draw_show_frame(time);
    return read_back_frame();
}
