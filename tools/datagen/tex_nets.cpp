// The glowing patterns of the grid arena and the word tunnel, all on black
// because they are added to the picture: floor cell, spark, web disc, a
// spare hexagon net and the ceiling.
#include <cmath>

#include "procgen.h"
#include "textures.h"

namespace {

// Brightness of a glowing line at distance d (pixels): a sharp core and a
// soft halo.
float glow(float d, float core, float halo) {
    return std::exp(-(d * d) / (core * core)) + 0.35f * std::exp(-d / halo);
}

// Distance (pixels) to the nearest of the lines at fractions 0.25 and 0.75.
float grid_distance(float unit, int size) {
    const float f = unit - std::floor(unit);
    return std::min(std::fabs(f - 0.25f), std::fabs(f - 0.75f)) * static_cast<float>(size);
}

// Floor cell: the quads overlap by half, so each line sits at a quarter and
// three quarters of the cell and fades with sin^2 towards the cell edges;
// the four cells over any point then add up to one even line.
Image floor_cell() {
    const int size = 256;
    Image image = make_image(size, size);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const float window = std::pow(std::sin(pi * u), 2.0f) * std::pow(std::sin(pi * v), 2.0f);
        const float du = grid_distance(u, size), dv = grid_distance(v, size);
        const float line = std::max(glow(du, 1.6f, 7), glow(dv, 1.6f, 7));
        const float knot = std::exp(-(du * du + dv * dv) / 30.0f);
        const Rgb cyan = {0.15f, 0.75f, 1.0f};
        image.at(x, y) = (cyan * line + Rgb{0.9f, 1.0f, 1.0f} * (knot * 1.2f)) * (window * 1.1f);
    });
    return image;
}

// A spark: hot core, soft glow and four thin rays.
Image spark(Rgb tint) {
    const int size = 256;
    Image image = make_image(size, size);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const float dx = (u - 0.5f) * 2, dy = (v - 0.5f) * 2;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float rays = (std::exp(-std::fabs(dx) * 60) + std::exp(-std::fabs(dy) * 60)) * std::max(0.0f, 1 - r);
        const float core = std::exp(-r * r * 90), halo = std::exp(-r * 6);
        const float fade = 1 - smoothstep(0.75f, 1.0f, r);
        image.at(x, y) = (Rgb{1, 1, 1} * core + tint * (halo * 0.8f + rays * 0.9f)) * fade;
    });
    return image;
}

// A spider-web disc: spokes, a spiral thread and a rim, fading at the edge
// and towards the middle, where the ten layers of the word tunnel all meet.
Image web_disc() {
    const int size = 512;
    Image image = make_image(size, size);
    const int spokes = 12;
    const float turns_pitch = 0.075f;  // radial distance between spiral turns
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const float dx = u - 0.5f, dy = v - 0.5f;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float angle = std::atan2(dy, dx);
        const float sector = 2 * pi / spokes;
        const float a = angle - sector * std::round(angle / sector);
        const float spoke_d = std::fabs(std::sin(a)) * r * size;
        const float phase = (r - 0.04f) / turns_pitch - angle / (2 * pi);
        const float spiral_d = std::fabs(phase - std::round(phase)) * turns_pitch * size;
        const float rim_d = std::fabs(r - 0.44f) * size;
        const float inside = smoothstep(0.035f, 0.06f, r) * (1 - smoothstep(0.40f, 0.44f, r));
        const float lines = glow(spoke_d, 1.1f, 3) * smoothstep(0.02f, 0.05f, r) * (1 - smoothstep(0.43f, 0.47f, r)) +
                            glow(spiral_d, 1.0f, 3) * inside * 0.8f + glow(rim_d, 2.0f, 7) * 1.2f;
        const Rgb tint = mix(Rgb{1.0f, 0.25f, 0.85f}, Rgb{0.35f, 0.45f, 1.0f}, smoothstep(0.1f, 0.45f, r));
        const float fade = 1 - smoothstep(0.46f, 0.5f, r);
        image.at(x, y) = tint * (lines * 0.3f * fade * smoothstep(0.03f, 0.15f, r));
    });
    return image;
}

// Distance (pixels) to the edges of a pointy-top hexagon grid of
// circumradius cell: rows 1.5 cells apart, every other row shifted by half a
// cell width, so the grid is two rectangular lattices of centres.
float hex_edge_distance(float px, float py, float cell) {
    const float w = cell * std::sqrt(3.0f);
    float best = 1e30f, qx = 0, qy = 0;
    for (int lattice = 0; lattice < 2; ++lattice) {
        const float ox = lattice ? w * 0.5f : 0, oy = lattice ? cell * 1.5f : 0;
        const float cx = std::round((px - ox) / w) * w + ox;
        const float cy = std::round((py - oy) / (cell * 3)) * (cell * 3) + oy;
        const float d2 = (px - cx) * (px - cx) + (py - cy) * (py - cy);
        if (d2 < best) {
            best = d2;
            qx = std::fabs(px - cx);
            qy = std::fabs(py - cy);
        }
    }
    return w * 0.5f - std::max(qx, qx * 0.5f + qy * 0.8660254f);
}

Image hex_net() {
    const int size = 512;
    Image image = make_image(size, size);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const float px = (u - 0.5f) * size, py = (v - 0.5f) * size;
        const float r = std::sqrt(px * px + py * py) / size;
        const float d = std::fabs(hex_edge_distance(px, py, 22));
        const float shimmer = 0.7f + 0.3f * noise2(u * 6, v * 6, 0, 611);
        const float fade = 1 - smoothstep(0.38f, 0.49f, r);
        image.at(x, y) = Rgb{0.2f, 1.0f, 0.55f} * (glow(d, 1.3f, 5) * shimmer * fade * 0.85f);
    });
    return image;
}

// The arena ceiling seen from below: rings and spokes of light round a
// bright central lamp, fading before the square's edges.
Image ceiling() {
    const int size = 512;
    Image image = make_image(size, size);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const float dx = u - 0.5f, dy = v - 0.5f;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float angle = std::atan2(dy, dx);
        const float ring_phase = r / 0.06f;
        const float ring_d = std::fabs(ring_phase - std::round(ring_phase)) * 0.06f * size;
        const float sector = 2 * pi / 12;
        const float a = angle - sector * std::round(angle / sector);
        const float spoke_d = std::fabs(std::sin(a)) * r * size;
        const float dash = 0.55f + 0.45f * std::cos(angle * 48);
        const float lamp = std::exp(-r * r * 400) * 1.2f;
        const float lines = glow(ring_d, 1.6f, 6) * (0.6f + 0.4f * dash) + glow(spoke_d, 1.4f, 5) * smoothstep(0.05f, 0.1f, r);
        const Rgb tint = mix(Rgb{1.0f, 0.55f, 0.15f}, Rgb{1.0f, 0.2f, 0.45f}, smoothstep(0.05f, 0.4f, r));
        const float fade = 1 - smoothstep(0.36f, 0.47f, r);
        image.at(x, y) = (tint * (lines * 0.7f) + Rgb{1, 0.9f, 0.7f} * lamp) * fade;
    });
    return image;
}

}  // namespace

bool write_net_textures(const std::string& dir) {
    return save_texture(dir, "net1", floor_cell()) && save_texture(dir, "net2", spark({0.35f, 0.7f, 1.0f})) &&
           save_texture(dir, "net3", web_disc()) && save_texture(dir, "net4", hex_net()) &&
           save_texture(dir, "net5", ceiling());
}
