// Facades of the block city: four styles of window bays and storeys side by
// side in each picture, some windows lit from inside.
#include <cmath>

#include "city_layout.h"
#include "procgen.h"
#include "textures.h"

namespace {

struct FacadeStyle {
    uint32_t seed;
    float window_w, window_h;          // window size as a fraction of its cell
    Rgb wall, wall_dark;               // wall colour range
    Rgb glass, lit_warm, lit_cool;     // unlit glass and two kinds of lit rooms
    float lit_share;                   // fraction of lit windows
    float mullions;                    // vertical glazing bars per window
};

// Paints one band (a quarter of the picture's width) in the given style.
void facade_band(Image& image, int band, const FacadeGrid& grid, const FacadeStyle& style) {
    const int band_width = image.width / facade_bands;
    const int cells = grid.bays * grid.storeys;
    std::vector<float> lit(static_cast<size_t>(cells)), tone(static_cast<size_t>(cells));
    Rng rng = make_rng(style.seed);
    for (int i = 0; i < cells; ++i) {
        lit[static_cast<size_t>(i)] = uniform(rng) < style.lit_share ? uniform(rng, 0.6f, 1.0f) : 0;
        tone[static_cast<size_t>(i)] = uniform(rng);
    }
    for (int y = 0; y < image.height; ++y) {
        for (int x = band * band_width; x < (band + 1) * band_width; ++x) {
            const float u = (static_cast<float>(x - band * band_width) + 0.5f) / static_cast<float>(band_width);
            const float v = unit_y(image, y);
            const float cu = u * static_cast<float>(grid.bays), cv = v * static_cast<float>(grid.storeys);
            const int col = std::min(grid.bays - 1, static_cast<int>(cu)), row = std::min(grid.storeys - 1, static_cast<int>(cv));
            const size_t cell = static_cast<size_t>(row * grid.bays + col);
            const float lx = cu - static_cast<float>(col) - 0.5f, ly = cv - static_cast<float>(row) - 0.5f;
            const float grime = fbm2(u * 4, v * 16, 4, 4, style.seed + 1) * 0.5f + 0.5f;
            const float storey_wave = std::sin(v * static_cast<float>(grid.storeys) * 2 * pi);
            Rgb c = mix(style.wall_dark, style.wall, grime * 0.6f + 0.4f * (0.5f + 0.5f * storey_wave));
            const float wx = std::fabs(lx) / (style.window_w * 0.5f), wy = std::fabs(ly) / (style.window_h * 0.5f);
            if (wx < 1 && wy < 1) {
                const float inside_y = ly / style.window_h + 0.5f;  // 0 at the top of the window
                Rgb pane = mix(style.glass * 0.7f, style.glass * 1.3f, inside_y * 0.6f + 0.3f * tone[cell]);
                if (lit[cell] > 0) {
                    const Rgb room = mix(style.lit_warm, style.lit_cool, tone[cell] > 0.7f ? 1.0f : 0.0f) * lit[cell];
                    const float blind = tone[cell] < 0.3f ? smoothstep(0.35f, 0.4f, inside_y) : 1;
                    pane = mix(room * 0.55f, room, inside_y) * (0.55f + 0.45f * blind);
                }
                const float bars = style.mullions > 0 ? std::fabs(std::sin((lx / style.window_w + 0.5f) * pi * style.mullions)) : 1;
                const float frame = smoothstep(0.86f, 0.96f, std::max(wx, wy));
                pane = pane * (0.35f + 0.65f * smoothstep(0.0f, 0.12f, bars));
                c = mix(pane, style.wall_dark * 0.6f, frame);
            }
            const float sill = std::fabs(ly - style.window_h * 0.5f - 0.03f);
            if (sill < 0.02f && std::fabs(lx) < style.window_w * 0.55f) c = c * 1.15f;
            image.at(x, y) = c;
        }
    }
}

Image facade(const FacadeGrid& grid, const FacadeStyle (&styles)[facade_bands]) {
    Image image = make_image(512, 512);
    for (int band = 0; band < facade_bands; ++band) facade_band(image, band, grid, styles[band]);
    return image;
}

}  // namespace

bool write_city_textures(const std::string& dir) {
    const Rgb warm = {1.0f, 0.80f, 0.45f}, cool = {0.85f, 0.92f, 1.0f}, glass = {0.16f, 0.22f, 0.30f};
    const FacadeStyle blocks[facade_bands] = {
        {2101, 0.56f, 0.55f, {0.80f, 0.68f, 0.55f}, {0.52f, 0.42f, 0.33f}, glass, warm, cool, 0.35f, 2},  // sandstone
        {2102, 0.50f, 0.50f, {0.70f, 0.30f, 0.22f}, {0.45f, 0.18f, 0.14f}, glass, warm, cool, 0.30f, 2},  // red brick
        {2103, 0.62f, 0.52f, {0.92f, 0.90f, 0.84f}, {0.68f, 0.66f, 0.62f}, glass, warm, cool, 0.40f, 3},  // white stucco
        {2104, 0.70f, 0.60f, {0.60f, 0.62f, 0.64f}, {0.38f, 0.40f, 0.43f}, glass, warm, cool, 0.35f, 0},  // concrete
    };
    const FacadeStyle towers[facade_bands] = {
        {2201, 0.82f, 0.70f, {0.55f, 0.62f, 0.70f}, {0.30f, 0.36f, 0.44f}, {0.22f, 0.34f, 0.48f}, warm, cool, 0.30f, 0},
        {2202, 0.90f, 0.78f, {0.20f, 0.22f, 0.26f}, {0.10f, 0.11f, 0.13f}, {0.10f, 0.14f, 0.20f}, warm, cool, 0.45f, 0},
        {2203, 0.70f, 0.60f, {0.82f, 0.84f, 0.86f}, {0.60f, 0.62f, 0.66f}, {0.30f, 0.45f, 0.55f}, warm, cool, 0.30f, 2},
        {2204, 0.86f, 0.66f, {0.35f, 0.55f, 0.55f}, {0.20f, 0.34f, 0.36f}, {0.12f, 0.30f, 0.34f}, warm, cool, 0.35f, 0},
    };
    return save_texture(dir, "kubes", facade(block_grid, blocks)) && save_texture(dir, "kubeshigh", facade(tower_grid, towers));
}
