// The pictures of the earth scene: an equirectangular planet, the dense
// star backdrop that lines the huge sphere round it, and three glow sprites
// for the star fields.
#include <cmath>

#include "procgen.h"
#include "textures.h"

namespace {

struct Direction {
    float x, y, z, latitude;
};

// Equirectangular mapping: u runs once round the equator, v from the north
// pole (0) to the south pole (1).
Direction direction_at(float u, float v) {
    const float latitude = pi * (0.5f - v), longitude = 2 * pi * u;
    return {std::cos(latitude) * std::cos(longitude), std::sin(latitude), std::cos(latitude) * std::sin(longitude), latitude};
}

Image planet() {
    Image image = make_image(1024, 512);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const Direction d = direction_at(u, v);
        const float height = fbm3(d.x * 1.1f + 4, d.y * 1.1f, d.z * 1.1f, 7, 2301, 0.55f) + 0.1f * fbm3(d.x * 5, d.y * 5, d.z * 5, 3, 2302);
        const float polar = std::fabs(d.latitude) / (pi / 2);
        const float sea_level = 0.04f;
        Rgb c;
        if (height < sea_level) {
            c = mix(Rgb{0.02f, 0.07f, 0.26f}, Rgb{0.06f, 0.36f, 0.58f}, std::pow(smoothstep(sea_level - 0.12f, sea_level, height), 2.0f));
        } else {
            const float moisture = fbm3(d.x * 3 + 9, d.y * 3, d.z * 3, 4, 2303) * 0.5f + 0.5f;
            const float dry = clamp01(1 - std::fabs(polar - 0.28f) * 4) * (1 - moisture);
            const Rgb green = mix(Rgb{0.08f, 0.26f, 0.06f}, Rgb{0.25f, 0.40f, 0.12f}, moisture);
            c = mix(green, Rgb{0.72f, 0.58f, 0.36f}, smoothstep(0.2f, 0.5f, dry));
            c = mix(c, Rgb{0.42f, 0.36f, 0.30f}, smoothstep(0.18f, 0.32f, height));
        }
        const float ice = smoothstep(0.92f, 0.97f, polar + 0.05f * fbm3(d.x * 6, d.y * 6, d.z * 6, 3, 2304));
        c = mix(c, Rgb{0.85f, 0.90f, 0.95f}, ice);
        const float swirl = fbm3(d.x * 2, d.y * 2, d.z * 2, 3, 2305);
        const float cloud = smoothstep(-0.02f, 0.4f, fbm3(d.x * 2.5f + swirl, d.y * 5, d.z * 2.5f - swirl, 6, 2306));
        image.at(x, y) = mix(c, Rgb{1, 1, 1}, cloud * 0.85f);
    });
    return image;
}

// Adds a round star of angular radius size (in rows) to an equirectangular
// picture, widened in u towards the poles so it stays round on the sphere.
void splat_star(Image& image, float u, float v, float size, Rgb colour) {
    const float rows_per_radian = static_cast<float>(image.height) / pi;
    const float cols_per_radian = static_cast<float>(image.width) / (2 * pi);
    const float cos_lat = std::max(0.05f, std::cos(pi * (0.5f - v)));
    const float sy = size, sx = std::max(0.6f, size * cols_per_radian / (rows_per_radian * cos_lat));
    const float cx = u * static_cast<float>(image.width), cy = v * static_cast<float>(image.height);
    const int rx = static_cast<int>(std::ceil(sx * 3)), ry = static_cast<int>(std::ceil(sy * 3));
    for (int y = static_cast<int>(cy) - ry; y <= static_cast<int>(cy) + ry; ++y) {
        if (y < 0 || y >= image.height) continue;
        for (int x = static_cast<int>(cx) - rx; x <= static_cast<int>(cx) + rx; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - cx) / sx, dy = (static_cast<float>(y) + 0.5f - cy) / sy;
            const float fall = std::exp(-(dx * dx + dy * dy));
            Rgb& px = image.at((x % image.width + image.width) % image.width, y);
            px = px + colour * fall;
        }
    }
}

Image star_backdrop() {
    Image image = make_image(1024, 1024);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const Direction d = direction_at(u, v);
        const float gas = smoothstep(0.0f, 0.7f, fbm3(d.x * 2, d.y * 2, d.z * 2, 6, 2401));
        const float hue = fbm3(d.x + 3, d.y, d.z, 3, 2402) * 0.5f + 0.5f;
        const Rgb nebula = mix(Rgb{0.20f, 0.05f, 0.35f}, Rgb{0.05f, 0.15f, 0.40f}, hue);
        image.at(x, y) = Rgb{0.005f, 0.005f, 0.015f} + nebula * (gas * gas * 0.35f);
    });
    Rng rng = make_rng(2403);
    for (int i = 0; i < 4500; ++i) {
        const float u = uniform(rng);
        const float v = std::acos(uniform(rng, -1, 1)) / pi;  // even over the sphere
        const float power = std::pow(uniform(rng), 5.0f);
        const float size = 0.9f + power * 1.2f;
        const Rgb tint = ramp({{0, {1.0f, 0.7f, 0.5f}}, {0.4f, {1.0f, 0.95f, 0.85f}}, {1, {0.65f, 0.8f, 1.0f}}}, uniform(rng));
        splat_star(image, u, v, size, tint * (0.1f + 0.8f * power + 0.2f * uniform(rng)));
    }
    return image;
}

// A star sprite: white-hot core, coloured halo and diffraction spikes,
// black at the border so the additive quads leave no edges.
Image star_sprite(Rgb tint, int spikes, float angle) {
    Image image = make_image(256, 256);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const Vec2 p = rotate(Vec2{(u - 0.5f) * 2, (v - 0.5f) * 2}, angle);
        const float r = length(p);
        const float a = std::atan2(p.y, p.x);
        const float spike = std::pow(std::fabs(std::cos(a * static_cast<float>(spikes) * 0.5f)), 60.0f) * std::exp(-r * 3.5f);
        const float core = std::exp(-r * r * 120), halo = std::exp(-r * 7) * 0.8f + std::exp(-r * 2.5f) * 0.15f;
        const float fade = 1 - smoothstep(0.7f, 1.0f, r);
        image.at(x, y) = (Rgb{1, 1, 1} * core + tint * (halo + spike)) * fade;
    });
    return image;
}

}  // namespace

bool write_space_textures(const std::string& dir) {
    return save_texture(dir, "earth", planet()) && save_texture(dir, "starfon", star_backdrop()) &&
           save_texture(dir, "star1", star_sprite({1.0f, 0.82f, 0.45f}, 4, 0)) &&
           save_texture(dir, "star2", star_sprite({0.45f, 0.7f, 1.0f}, 6, 0.3f)) &&
           save_texture(dir, "star3", star_sprite({1.0f, 0.35f, 0.55f}, 4, 0.785f));
}
