// Frame cost of the four timeline scenes at times across each, printed per
// frame; with an output folder it also writes every frame as a PNG and one
// contact sheet per scene (half-size tiles, four to a row, in time order).
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "frame/show_driver.h"
#include "support/frame_digest.h"
#include "support/gl_harness.h"
#include "support/show_harness.h"

namespace {

struct scene_span {
    const char* name;
    int32_t start, end;
};

const scene_span scenes[] = {{"intro", 0, 13769},
                             {"fader", 13769, 78544},
                             {"text", 78544, 91501},
                             {"outro", 91501, 108000}};

constexpr int frames_per_scene = 16;
constexpr int sheet_columns = 4;
constexpr int tile_w = 320;
constexpr int tile_h = 240;

void paste_half_size(std::vector<uint8_t>& sheet, int sheet_w, const std::vector<uint8_t>& frame,
                     int tile) {
    const std::vector<uint8_t> half = box_shrink(frame, 640, 480, 2);
    const int ox = (tile % sheet_columns) * tile_w;
    const int oy = (tile / sheet_columns) * tile_h;
    for (int y = 0; y < tile_h; ++y) {
        std::copy_n(half.begin() + static_cast<std::ptrdiff_t>(y * tile_w * 3), tile_w * 3,
                    sheet.begin() + static_cast<std::ptrdiff_t>(((oy + y) * sheet_w + ox) * 3));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "";
    show_harness_init();
    for (const scene_span& scene : scenes) {
        const int rows = (frames_per_scene + sheet_columns - 1) / sheet_columns;
        const int sheet_w = sheet_columns * tile_w;
        std::vector<uint8_t> sheet(static_cast<size_t>(sheet_w) * rows * tile_h * 3, 0);
        double total_ms = 0;
        for (int i = 0; i < frames_per_scene; ++i) {
            const int32_t t = scene.start + (scene.end - 1 - scene.start) * i / (frames_per_scene - 1);
            draw_show_frame(t);  // hands the camera pose to the timed frame
            glFinish();
            const auto begin = std::chrono::steady_clock::now();
            draw_show_frame(t);
            glFinish();
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
                    .count();
            total_ms += ms;
            std::printf("%-6s tile %2d  t = %6d ms  %7.2f ms/frame\n", scene.name, i, t, ms);
            if (out.empty()) continue;
            const std::vector<uint8_t> frame = read_frame();
            write_png(out + "/" + scene.name + "_" + std::to_string(t) + ".png", frame, 640, 480);
            paste_half_size(sheet, sheet_w, frame, i);
        }
        std::printf("%-6s mean %.2f ms/frame\n", scene.name, total_ms / frames_per_scene);
        if (!out.empty()) {
            write_png(out + "/sheet_" + scene.name + ".png", sheet, sheet_w, rows * tile_h);
        }
    }
    return 0;
}
