// The sea's pictures: the seabed with caustics, the tiling water surface,
// the ship's planking, the sail with the festival emblem, and the two
// sphere maps (silvery fish scales, a chrome reflection).
#include <cmath>

#include "logo_shape.h"
#include "procgen.h"
#include "textures.h"

namespace {

// The light network that a wavy surface focuses on the ground: bright where
// two cells of a jittered grid meet.
float caustic(float u, float v, float scale, uint32_t seed) {
    const int period = static_cast<int>(scale);
    const float wx = u * scale + 0.35f * fbm2(u * 4, v * 4, 2, 4, seed);
    const float wy = v * scale + 0.35f * fbm2(u * 4 + 5, v * 4, 2, 4, seed + 1);
    const CellDistances c = cells2(wx, wy, period, seed + 2);
    return std::pow(1 - smoothstep(0.0f, 0.12f, c.f2 - c.f1), 2.0f);
}

Image seabed() {
    Image image = make_image(512, 512);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const float sand = fbm2(u * 16, v * 16, 5, 16, 1601) * 0.5f + 0.5f;
        const float ripples = 0.5f + 0.5f * std::sin(2 * pi * (u * 6 + v * 3) + 3 * fbm2(u * 3, v * 3, 2, 3, 1602));
        const Rgb ground = mix(Rgb{0.16f, 0.22f, 0.24f}, Rgb{0.42f, 0.44f, 0.38f}, sand * 0.7f + ripples * 0.3f);
        const float light = caustic(u, v, 6, 1603) * 0.8f + caustic(u, v, 11, 1607) * 0.4f;
        image.at(x, y) = ground + Rgb{0.30f, 0.55f, 0.65f} * light;
    });
    return image;
}

Image water_surface() {
    Image image = make_image(512, 512);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const float swell = fbm2(u * 4, v * 4, 4, 4, 1701) * 0.5f + 0.5f;
        const float ripple = 1 - std::fabs(fbm2(u * 10 + swell, v * 10, 4, 10, 1702));
        const float glint = std::pow(ripple, 10.0f);
        const Rgb deep = {0.02f, 0.14f, 0.30f}, shallow = {0.05f, 0.38f, 0.52f};
        image.at(x, y) = mix(deep, shallow, swell) + Rgb{0.55f, 0.80f, 0.90f} * (glint * 0.6f) + Rgb{0.05f, 0.1f, 0.12f} * ripple;
    });
    return image;
}

// The ship's hull above (v < 0.75: from the gunwale down to the keel) and
// its deck below (v >= 0.75), u along the length.
Image ship_planks() {
    Image image = make_image(512, 512);
    Rng rng = make_rng(1801);
    float joints[40];
    for (float& j : joints) j = uniform(rng);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const bool deck = v >= 0.75f;
        const float rows = deck ? 14.0f : 16.0f;
        const float local = deck ? (v - 0.75f) / 0.25f : v / 0.75f;
        const float row = local * rows;
        const int index = std::min(39, static_cast<int>(row));
        const float seam = std::min(row - std::floor(row), std::ceil(row) - row);
        const float joint = std::fabs(std::fmod(u * 3 + joints[index] + 1, 1.0f) - 0.5f);
        const float grain = fbm2(u * 40, row * 0.6f, 4, 40, 1802 + static_cast<uint32_t>(index)) * 0.5f + 0.5f;
        Rgb wood = deck ? mix(Rgb{0.55f, 0.40f, 0.24f}, Rgb{0.78f, 0.62f, 0.40f}, grain)
                        : mix(Rgb{0.30f, 0.17f, 0.08f}, Rgb{0.52f, 0.32f, 0.15f}, grain);
        if (!deck && local < 0.14f) wood = local < 0.05f ? Rgb{0.85f, 0.82f, 0.72f} : Rgb{0.55f, 0.06f, 0.05f} * (0.8f + 0.3f * grain);
        if (!deck && local > 0.62f) wood = Rgb{0.32f, 0.08f, 0.06f} * (0.7f + 0.4f * grain);
        const float dark = smoothstep(0.0f, 0.06f, seam) * (0.6f + 0.4f * smoothstep(0.0f, 0.01f, 0.5f - joint));
        image.at(x, y) = wood * (0.55f + 0.45f * dark);
    });
    return image;
}

// Sail cloth: cream panels with seams, a stitched hem and the red emblem.
Image sail_cloth() {
    Image image = make_image(512, 512);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const float weave = 0.95f + 0.05f * noise2(u * 180, v * 180, 0, 1901);
        const float stain = fbm2(u * 3, v * 3, 4, 0, 1902) * 0.5f + 0.5f;
        Rgb cloth = mix(Rgb{0.93f, 0.89f, 0.78f}, Rgb{0.80f, 0.74f, 0.60f}, stain * 0.6f) * weave;
        const float panel = u * 7;
        const float seam = std::fabs(panel - std::round(panel)) / 7;
        cloth = cloth * (0.82f + 0.18f * smoothstep(0.0f, 0.004f, seam));
        const float hem = std::min(std::min(u, 1 - u), std::min(v, 1 - v));
        if (hem < 0.035f) cloth = cloth * 0.85f;
        const Vec2 p = {(u - 0.5f) * 3.2f, (0.52f - v) * 3.2f};
        const float mark = clamp01(0.5f - logo_distance(p) * 160);
        image.at(x, y) = mix(cloth, Rgb{0.70f, 0.06f, 0.06f} * weave, mark * 0.9f);
    });
    return image;
}

// The reflected direction that a sphere map's texel stands for. Textures
// are uploaded with their top row at t = 0, so the top of the picture is
// what points downwards.
struct Reflection {
    float x, y, z;
    bool inside;
};
Reflection sphere_map_direction(float u, float v) {
    const float a = (u - 0.5f) * 2, b = (0.5f - v) * -2;
    const float rr = a * a + b * b;
    const float nz = std::sqrt(std::max(0.0f, 1 - rr));
    return {2 * nz * a, 2 * nz * b, 2 * nz * nz - 1, rr <= 1};
}

// Silvery fish: a bright, blue-green surround under a net of scales.
Image fish_scales() {
    Image image = make_image(256, 256);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const Reflection r = sphere_map_direction(u, v);
        const float up = r.inside ? r.y : 0;
        Rgb env = ramp({{-1, {0.12f, 0.20f, 0.26f}}, {-0.2f, {0.32f, 0.45f, 0.55f}}, {0.1f, {0.80f, 0.88f, 0.92f}},
                        {0.5f, {0.40f, 0.60f, 0.85f}}, {1, {0.85f, 0.92f, 1.0f}}},
                       up);
        const float sx = u * 18, sy = v * 24;
        const float row = std::floor(sy);
        const float cx = sx + (static_cast<int>(row) % 2 ? 0.5f : 0.0f);
        const float dx = cx - std::round(cx), dy = sy - row;
        const float arc = std::fabs(std::sqrt(dx * dx + dy * dy * 1.2f) - 0.55f);
        const float scale_edge = 1 - smoothstep(0.02f, 0.09f, arc);
        const Rgb sheen = mix(Rgb{0.9f, 0.8f, 1.0f}, Rgb{0.7f, 1.0f, 0.9f}, 0.5f + 0.5f * std::sin(u * 9 + v * 5));
        env = env * sheen * (1 - 0.25f * scale_edge);
        image.at(x, y) = env;
    });
    return image;
}

// Chrome: a cloudy sky over a bright horizon with distant hills, a warm
// tiled floor below, and two soft window lights.
Image chrome() {
    Image image = make_image(512, 512);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const Reflection r = sphere_map_direction(u, v);
        const float azimuth = std::atan2(r.x, r.z);
        const float hills = 0.06f + 0.05f * fbm2(azimuth * 2, 0.5f, 3, 0, 2001);
        Rgb c;
        if (r.y >= hills) {
            c = ramp({{0, {1.0f, 0.97f, 0.92f}}, {0.12f, {0.60f, 0.78f, 1.0f}}, {0.5f, {0.15f, 0.35f, 0.80f}}, {1, {0.05f, 0.10f, 0.35f}}}, r.y);
            const float cloud = smoothstep(0.1f, 0.6f, fbm2(r.x * 3 / (r.y + 0.3f), r.z * 3 / (r.y + 0.3f), 4, 0, 2002));
            c = mix(c, Rgb{0.95f, 0.95f, 1.0f}, cloud * 0.6f);
        } else if (r.y >= 0) {
            c = mix(Rgb{0.25f, 0.12f, 0.35f}, Rgb{0.55f, 0.35f, 0.55f}, r.y / hills);
        } else {
            // A dark violet floor ruled with glowing lines, lit by a sunset glow.
            const float fx = r.x / (-r.y + 0.05f), fz = r.z / (-r.y + 0.05f);
            const float gx = std::fabs(fx * 2 - std::round(fx * 2)), gz = std::fabs(fz * 2 - std::round(fz * 2));
            const float line = (1 - smoothstep(0.0f, 0.08f, std::min(gx, gz))) * (1 - smoothstep(0.05f, 0.6f, -r.y));
            const Rgb ground = mix(Rgb{0.16f, 0.05f, 0.22f}, Rgb{0.04f, 0.01f, 0.06f}, smoothstep(0.0f, 0.6f, -r.y));
            c = mix(Rgb{1.0f, 0.55f, 0.35f}, ground, smoothstep(0.0f, 0.12f, -r.y)) + Rgb{1.0f, 0.3f, 0.8f} * (line * 0.6f);
        }
        if (!r.inside) c = {0.9f, 0.85f, 0.8f};
        auto light = [&](float lx, float ly, float lz, float sharp) {
            const float l = std::sqrt(lx * lx + ly * ly + lz * lz);
            return std::pow(std::max(0.0f, (r.x * lx + r.y * ly + r.z * lz) / l), sharp);
        };
        if (r.inside) c = c + Rgb{1, 1, 1} * (light(-0.6f, 0.7f, 0.4f, 160) * 1.5f + light(0.7f, 0.4f, 0.6f, 80) * 0.8f);
        image.at(x, y) = c;
    });
    return image;
}

}  // namespace

bool write_sea_textures(const std::string& dir) {
    return save_texture(dir, "floor", seabed()) && save_texture(dir, "water", water_surface()) &&
           save_texture(dir, "ship", ship_planks()) && save_texture(dir, "parus", sail_cloth()) &&
           save_texture(dir, "fish", fish_scales()) && save_texture(dir, "blik", chrome());
}
