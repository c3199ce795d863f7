// The five nebula layers that turn behind the title (additive at alpha 0.2)
// and the night-blue sky of the dome, which also lends the water its
// reflection.
#include <cmath>

#include "procgen.h"
#include "textures.h"

namespace {

struct NebulaStyle {
    uint32_t seed;
    Rgb dark, mid, bright;  // colour ramp from thin gas to dense cores
    float scale;            // noise cells across the picture
    float warp;             // strength of the domain warp
    float twist;            // spiral twist in radians per unit radius
    float cover;            // density threshold: higher leaves more black
    float filaments;        // weight of the ridged bright streaks
    float gain;             // exposure: the layer is drawn at alpha 0.2, so it must be bright
    int stars;              // point stars sprinkled over the layer
};

// Full strength inside the circle that the turning quad always shows, fading
// to black well before the quad's edges.
float layer_window(float r) { return 1 - smoothstep(0.80f, 0.97f, r); }

Image nebula_clouds(int size, const NebulaStyle& style) {
    Image image = make_image(size, size);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        Vec2 p = {(u - 0.5f) * 2, (v - 0.5f) * 2};
        const float r = length(p);
        p = rotate(p, style.twist * r);
        const float sx = p.x * style.scale, sy = p.y * style.scale;
        // Large soft volumes, shaped in detail by a gently warped fBm.
        const float body = fbm2(sx * 0.45f + 7, sy * 0.45f - 3, 3, 0, style.seed) * 0.5f + 0.5f;
        const float qx = fbm2(sx + 3.1f, sy - 1.7f, 3, 0, style.seed + 1);
        const float qy = fbm2(sx - 5.3f, sy + 2.9f, 3, 0, style.seed + 2);
        const float wx = sx + style.warp * qx, wy = sy + style.warp * qy;
        const float detail = fbm2(wx, wy, 6, 0, style.seed + 3) * 0.5f + 0.5f;
        const float ridge = 1 - std::fabs(fbm2(wx * 1.3f, wy * 1.3f, 5, 0, style.seed + 4));
        const float volume = smoothstep(style.cover - 0.25f, 0.85f, body);
        const float density = volume * smoothstep(0.25f, 0.8f, detail);
        const float streak = std::pow(ridge, 12.0f) * style.filaments * volume;
        const float hue = fbm2(sx * 0.5f + 9, sy * 0.5f - 4, 3, 0, style.seed + 5) * 0.5f + 0.5f;
        const Rgb gas = ramp({{0, style.dark}, {0.45f, style.mid}, {1, style.bright}},
                             clamp01(hue * 0.5f + density * 0.7f));
        const float glow = 0.12f * volume + 1.6f * density * density + streak;
        const Rgb c = (gas * glow + style.bright * (streak * 0.5f)) * (style.gain * layer_window(r));
        // Soft exposure curve: bright cores saturate gently instead of clipping.
        image.at(x, y) = {1 - std::exp(-c.r), 1 - std::exp(-c.g), 1 - std::exp(-c.b)};
    });
    return image;
}

void add_stars(Image& image, int count, uint32_t seed) {
    Rng rng = make_rng(seed);
    for (int i = 0; i < count; ++i) {
        const float cx = uniform(rng), cy = uniform(rng);
        const float size = std::pow(uniform(rng), 6.0f) * 2.4f + 0.9f;
        const float brightness = uniform(rng, 0.6f, 1.6f);
        const Rgb tint = mix(Rgb{0.7f, 0.8f, 1.0f}, Rgb{1.0f, 0.9f, 0.75f}, uniform(rng));
        const float window = layer_window(length(Vec2{cx - 0.5f, cy - 0.5f}) * 2);
        const int px = static_cast<int>(cx * static_cast<float>(image.width));
        const int py = static_cast<int>(cy * static_cast<float>(image.height));
        const int reach = static_cast<int>(std::ceil(size * 3));
        for (int y = py - reach; y <= py + reach; ++y) {
            for (int x = px - reach; x <= px + reach; ++x) {
                if (x < 0 || y < 0 || x >= image.width || y >= image.height) continue;
                const float dx = static_cast<float>(x - px), dy = static_cast<float>(y - py);
                const float fall = std::exp(-(dx * dx + dy * dy) / (size * size));
                image.at(x, y) = image.at(x, y) + tint * (fall * brightness * window);
            }
        }
    }
}

Image nebula_layer(const NebulaStyle& style) {
    // The clouds are smooth, so they are computed at half resolution.
    Image image = upscale2(nebula_clouds(512, style));
    add_stars(image, style.stars, style.seed + 11);
    return image;
}

// Equirectangular night sky: u runs around the horizon (and wraps), v from
// the zenith (0) through the horizon (0.5) to the nadir (1). The dome maps u
// twice round, so everything repeats in u. A milky way winds across the sky
// above a glowing horizon with faint cloud wisps.
constexpr int night_width = 1024, night_height = 512;

// Elevation (in v units: 0.5 is the zenith) of the milky way's middle.
float milky_way_centre(float u) { return 0.17f + 0.1f * std::sin(2 * pi * u); }

void add_sky_star(Image& image, float u, float elevation, float size, float brightness, Rgb tint) {
    const float v = 0.5f - elevation;
    // u spans half the horizon, so a round star is twice as wide in u.
    const float stretch = 2.0f / std::max(0.15f, std::sin(pi * v));
    const float cx = u * night_width, cy = v * night_height;
    const int reach_x = static_cast<int>(std::ceil(size * stretch * 3)), reach_y = static_cast<int>(std::ceil(size * 3));
    for (int y = static_cast<int>(cy) - reach_y; y <= static_cast<int>(cy) + reach_y; ++y) {
        if (y < 0 || y >= night_height) continue;
        for (int x = static_cast<int>(cx) - reach_x; x <= static_cast<int>(cx) + reach_x; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - cx) / stretch, dy = static_cast<float>(y) + 0.5f - cy;
            const float fall = std::exp(-(dx * dx + dy * dy) / (size * size));
            Rgb& px = image.at((x % night_width + night_width) % night_width, y);
            px = px + tint * (fall * brightness);
        }
    }
}

Image night_sky() {
    Image image = make_image(night_width, night_height);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const float elevation = 0.5f - v;  // 0.5 at the zenith, 0 at the horizon
        const Rgb base = ramp({{-0.5f, {0.01f, 0.015f, 0.05f}},
                               {-0.06f, {0.03f, 0.05f, 0.16f}},
                               {0.0f, {0.20f, 0.20f, 0.48f}},
                               {0.06f, {0.10f, 0.13f, 0.38f}},
                               {0.2f, {0.04f, 0.07f, 0.24f}},
                               {0.5f, {0.01f, 0.02f, 0.10f}}},
                              elevation);
        const float band = smoothstep(0.0f, 0.05f, elevation) * (1 - smoothstep(0.1f, 0.22f, elevation));
        const float cloud = fbm2(u * 8, v * 24, 5, 8, 501) * 0.5f + 0.5f;
        const float wisps = smoothstep(0.55f, 0.85f, cloud) * band;
        const float haze = (fbm2(u * 4, v * 8, 4, 4, 502) * 0.5f + 0.5f) * smoothstep(-0.05f, 0.3f, elevation);
        const float off = (elevation - milky_way_centre(u)) / 0.06f;
        const float lane = smoothstep(0.55f, 0.75f, 1 - std::fabs(fbm2(u * 12, v * 16, 4, 12, 504)));
        const float milk = std::exp(-off * off) * (0.55f + 0.45f * fbm2(u * 20, v * 20, 4, 20, 505)) * (1 - 0.7f * lane) *
                           smoothstep(0.02f, 0.08f, elevation);
        image.at(x, y) = base * (0.8f + 0.5f * haze) + Rgb{0.30f, 0.30f, 0.55f} * (wisps * 0.5f) +
                         Rgb{0.55f, 0.55f, 0.75f} * (milk * 0.45f);
    });
    Rng rng = make_rng(503);
    for (int i = 0; i < 2200; ++i) {
        const float u = uniform(rng);
        const float elevation = std::asin(uniform(rng)) / pi;  // even over the upper half sphere
        const float size = 0.32f + std::pow(uniform(rng), 8.0f) * 0.9f;
        const float brightness = uniform(rng, 0.3f, 1.2f) * smoothstep(0.01f, 0.06f, elevation);
        add_sky_star(image, u, elevation, size, brightness, mix(Rgb{0.75f, 0.85f, 1.0f}, Rgb{1.0f, 0.95f, 0.85f}, uniform(rng)));
    }
    // The milky way's own dense, faint stars.
    for (int i = 0; i < 3000; ++i) {
        const float u = uniform(rng);
        const float spread = std::sqrt(-2 * std::log(std::max(1e-6f, uniform(rng)))) * std::cos(2 * pi * uniform(rng));
        const float elevation = milky_way_centre(u) + 0.035f * spread;
        if (elevation < 0.02f) continue;
        add_sky_star(image, u, elevation, 0.3f, uniform(rng, 0.15f, 0.6f), {0.85f, 0.88f, 1.0f});
    }
    return image;
}

}  // namespace

bool write_sky_textures(const std::string& dir) {
    const NebulaStyle styles[5] = {
        {101, {0.02f, 0.10f, 0.50f}, {0.10f, 0.45f, 1.00f}, {0.70f, 0.95f, 1.00f}, 1.5f, 0.7f, 2.6f, 0.48f, 0.8f, 2.6f, 0},
        {202, {0.35f, 0.02f, 0.35f}, {0.95f, 0.15f, 0.75f}, {1.00f, 0.70f, 0.95f}, 1.7f, 1.0f, -1.0f, 0.54f, 0.6f, 2.6f, 0},
        {303, {0.45f, 0.15f, 0.02f}, {1.00f, 0.55f, 0.10f}, {1.00f, 0.95f, 0.60f}, 3.0f, 0.8f, 0.5f, 0.60f, 1.6f, 2.2f, 0},
        {404, {0.15f, 0.03f, 0.45f}, {0.45f, 0.20f, 0.95f}, {0.85f, 0.75f, 1.00f}, 2.2f, 1.3f, -1.8f, 0.55f, 0.9f, 2.4f, 0},
        {505, {0.02f, 0.05f, 0.25f}, {0.15f, 0.30f, 0.75f}, {0.80f, 0.85f, 1.00f}, 1.2f, 0.6f, 0.0f, 0.64f, 0.4f, 1.8f, 1800},
    };
    for (int i = 0; i < 5; ++i)
        if (!save_texture(dir, "sky" + std::to_string(i + 1), nebula_layer(styles[i]))) return false;
    return save_texture(dir, "backsky1", night_sky());
}
