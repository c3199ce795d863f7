// The meadow's pictures: grass blades and flower petals cut out by their
// alpha images, the tiling ground cover, the stem and the butterfly wings.
#include <cmath>

#include "procgen.h"
#include "textures.h"

namespace {

// Paints a stroke with colour(along, depth, u, v): along runs 0 ... 1 from
// its first point to its last, depth from 0 at its edge to 1 on its centre
// line. With wrap the stroke continues across the picture's edges.
template <class Colour>
void paint_stroke(Canvas& canvas, const Stroke& stroke, Colour colour, bool wrap = false) {
    const Box box = stroke_bounds(stroke);
    paint_shape(
        canvas, box.x0, box.y0, box.x1, box.y1, [&](float u, float v) { return stroke_distance(stroke, {u, v}); },
        [&](float u, float v, float d) {
            float along = 0;
            stroke_distance(stroke, {u, v}, &along);
            const float radius = mixf(stroke.radii.front(), stroke.radii.back(), along);
            return colour(along, clamp01(-d / std::max(radius, 1e-4f)), u, v);
        },
        1, wrap);
}

// Blades rising from the bottom edge, dark at the root and sunlit at the tip.
Canvas grass_blades() {
    Canvas canvas = make_canvas(512, 512);
    Rng rng = make_rng(1201);
    const int blades = 70;
    for (int i = 0; i < blades; ++i) {
        const float base_x = 0.06f + 0.88f * (static_cast<float>(i) + uniform(rng)) / blades;
        const float height = uniform(rng, 0.45f, 0.97f);
        const float lean = uniform(rng, -0.25f, 0.25f);
        const Vec2 base = {base_x, 1.02f};
        const Vec2 tip = {std::clamp(base_x + lean, 0.03f, 0.97f), 1.0f - height};
        const Vec2 control = {mixf(base_x, tip.x, 0.2f), mixf(base.y, tip.y, 0.6f)};
        const float width = uniform(rng, 0.010f, 0.018f);
        const Stroke blade = bezier_stroke(base, control, tip, width, 0.0015f, 12);
        const float shade = uniform(rng, 0.75f, 1.15f);
        const Rgb root = Rgb{0.04f, 0.13f, 0.04f} * shade;
        const Rgb body = Rgb{0.15f, 0.40f, 0.12f} * shade;
        const Rgb tipc = mix(Rgb{0.50f, 0.66f, 0.24f}, Rgb{0.36f, 0.60f, 0.20f}, uniform(rng)) * shade;
        paint_stroke(canvas, blade, [&](float along, float across, float, float) {
            const Rgb c = ramp({{0, root}, {0.45f, body}, {1, tipc}}, along);
            return c * (0.78f + 0.3f * across);  // a lit midrib
        });
    }
    bleed_colour(canvas.colour, canvas.alpha);
    return canvas;
}

// Ground cover that tiles: mossy soil under a dense mat of short leaves,
// with a few clover heads.
Image ground_cover() {
    Canvas canvas = make_canvas(512, 512);
    for_each_pixel(canvas.colour, [&](int x, int y, float u, float v) {
        const float n = fbm2(u * 8, v * 8, 5, 8, 1301) * 0.5f + 0.5f;
        canvas.colour.at(x, y) = mix(Rgb{0.09f, 0.10f, 0.03f}, Rgb{0.18f, 0.28f, 0.07f}, n);
    });
    Rng rng = make_rng(1302);
    for (int i = 0; i < 5200; ++i) {
        const Vec2 root = {uniform(rng), uniform(rng)};
        const float angle = uniform(rng, 0, 2 * pi), len = uniform(rng, 0.012f, 0.035f);
        const Vec2 tip = root + Vec2{std::cos(angle), std::sin(angle)} * len;
        const Vec2 control = lerp(root, tip, 0.5f) + Vec2{-std::sin(angle), std::cos(angle)} * (len * uniform(rng, -0.3f, 0.3f));
        const float patch = fbm2(root.x * 6, root.y * 6, 3, 6, 1303) * 0.5f + 0.5f;
        const Rgb leaf = mix(Rgb{0.16f, 0.40f, 0.08f}, Rgb{0.42f, 0.66f, 0.16f}, clamp01(patch * 1.3f - 0.15f)) *
                         uniform(rng, 0.7f, 1.2f);
        const Stroke stroke = bezier_stroke(root, control, tip, 0.0035f, 0.001f, 4);
        paint_stroke(canvas, stroke, [&](float along, float across, float, float) {
            return leaf * (0.6f + 0.4f * along) * (0.85f + 0.2f * across);
        }, true);
    }
    for (int i = 0; i < 70; ++i) {
        const Vec2 c = {uniform(rng), uniform(rng)};
        const float r = uniform(rng, 0.004f, 0.007f);
        const Rgb petal = uniform(rng) < 0.6f ? Rgb{0.92f, 0.90f, 0.85f} : Rgb{0.95f, 0.80f, 0.25f};
        paint_shape(canvas, c.x - r, c.y - r, c.x + r, c.y + r,
                    [&](float u, float v) { return length(Vec2{u, v} - c) - r; },
                    [&](float u, float v, float) { return petal * (1 - 0.5f * length(Vec2{u, v} - c) / r); }, 1, true);
    }
    return canvas.colour;
}

// A cosmos flower seen face on: eight notched petals round a golden disc.
Canvas flower_head() {
    Canvas canvas = make_canvas(512, 512);
    const Vec2 centre = {0.5f, 0.5f};
    const int petals = 8;
    for (int k = 0; k < petals; ++k) {
        const float angle = 2 * pi * static_cast<float>(k) / petals + 0.2f;
        auto local = [&](float u, float v) {
            const Vec2 q = rotate(Vec2{u, v} - centre, -angle);
            return q;  // x along the petal, y across it
        };
        auto petal_distance = [&](float u, float v) {
            const Vec2 q = local(u, v);
            const float body = ellipse_distance(q, {0.25f, 0}, 0.215f, 0.092f);
            const float notch = 0.035f - length(q - Vec2{0.475f, 0});
            const float side_notch = 0.025f - std::min(length(q - Vec2{0.46f, 0.05f}), length(q - Vec2{0.46f, -0.05f}));
            return std::max(body, std::max(notch, side_notch));
        };
        paint_shape(canvas, 0, 0, 1, 1, petal_distance, [&](float u, float v, float d) {
            const Vec2 q = local(u, v);
            const float along = clamp01(q.x / 0.46f);
            const Rgb c = ramp({{0, {0.45f, 0.02f, 0.22f}}, {0.25f, {0.85f, 0.12f, 0.48f}}, {0.8f, {0.98f, 0.45f, 0.72f}}, {1, {1.0f, 0.78f, 0.88f}}}, along);
            const float veins = 0.94f + 0.06f * std::cos(q.y * 180);
            const float edge = 0.75f + 0.25f * smoothstep(0.0f, 0.02f, -d);
            return c * (veins * edge);
        });
    }
    Rng rng = make_rng(1401);
    const float disc = 0.085f;
    paint_shape(canvas, 0.4f, 0.4f, 0.6f, 0.6f, [&](float u, float v) { return length(Vec2{u, v} - centre) - disc; },
                [&](float u, float v, float) {
                    const float r = length(Vec2{u, v} - centre) / disc;
                    const float florets = 0.8f + 0.2f * noise2(u * 160, v * 160, 0, 1402);
                    return ramp({{0, {0.55f, 0.30f, 0.02f}}, {0.6f, {0.95f, 0.70f, 0.08f}}, {1, {0.70f, 0.40f, 0.02f}}}, r) * florets;
                });
    for (int i = 0; i < 40; ++i) {
        const float a = uniform(rng, 0, 2 * pi), r = std::sqrt(uniform(rng)) * disc * 0.8f;
        const Vec2 c = centre + Vec2{std::cos(a), std::sin(a)} * r;
        paint_shape(canvas, c.x - 0.01f, c.y - 0.01f, c.x + 0.01f, c.y + 0.01f,
                    [&](float u, float v) { return length(Vec2{u, v} - c) - 0.0045f; },
                    [&](float, float, float) { return Rgb{1.0f, 0.9f, 0.4f}; });
    }
    bleed_colour(canvas.colour, canvas.alpha);
    return canvas;
}

// Stem and leaf colour: green with fine lengthwise fibres (u runs round the
// stem, v along it).
Image stem() {
    Image image = make_image(256, 256);
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const float fibre = 0.85f + 0.15f * noise2(u * 32, v * 32, 32, 1501);
        const float light = 0.75f + 0.25f * std::sin(2 * pi * u);
        image.at(x, y) = mix(Rgb{0.10f, 0.32f, 0.06f}, Rgb{0.30f, 0.58f, 0.16f}, light) * fibre;
    });
    return image;
}

// Rounds a polygon by corner cutting.
std::vector<Vec2> smooth_outline(std::vector<Vec2> points, int rounds) {
    for (int r = 0; r < rounds; ++r) {
        std::vector<Vec2> next;
        for (size_t i = 0; i < points.size(); ++i) {
            const Vec2 a = points[i], b = points[(i + 1) % points.size()];
            next.push_back(lerp(a, b, 0.25f));
            next.push_back(lerp(a, b, 0.75f));
        }
        points.swap(next);
    }
    return points;
}

// A monarch-like butterfly from above, head at the top: orange wings with
// black veins and border, white dots in the border, a dark furry body.
Canvas butterfly() {
    Canvas canvas = make_canvas(512, 512);
    const Vec2 root = {0.5f, 0.44f};
    const std::vector<Vec2> fore = smooth_outline(
        {{0.015f, -0.02f}, {0.12f, -0.22f}, {0.30f, -0.36f}, {0.45f, -0.37f}, {0.48f, -0.30f}, {0.43f, -0.12f},
         {0.33f, 0.02f}, {0.16f, 0.06f}, {0.015f, 0.05f}}, 3);
    const std::vector<Vec2> hind = smooth_outline(
        {{0.015f, 0.03f}, {0.17f, 0.04f}, {0.31f, 0.10f}, {0.37f, 0.21f}, {0.33f, 0.35f}, {0.21f, 0.45f},
         {0.10f, 0.45f}, {0.03f, 0.32f}, {0.01f, 0.15f}}, 3);
    const std::vector<Vec2> fore_veins = {{0.30f, -0.33f}, {0.42f, -0.33f}, {0.45f, -0.22f}, {0.40f, -0.10f}, {0.30f, 0.01f}, {0.18f, 0.05f}};
    const std::vector<Vec2> hind_veins = {{0.30f, 0.12f}, {0.34f, 0.24f}, {0.30f, 0.35f}, {0.20f, 0.43f}, {0.10f, 0.43f}};
    auto wing_colour = [&](Vec2 q, const std::vector<Vec2>& veins, float d) {
        const float border = -d;
        float vein = 1e9f;
        for (const Vec2& end : veins) vein = std::min(vein, segment_distance(q, {0.02f, 0.0f}, end));
        const float r = length(q);
        const Rgb orange = mix(Rgb{0.95f, 0.42f, 0.04f}, Rgb{1.0f, 0.62f, 0.12f}, smoothstep(0.05f, 0.35f, r));
        Rgb c = mix(orange, Rgb{0.04f, 0.03f, 0.03f}, 1 - smoothstep(0.004f, 0.008f, vein - 0.002f * (1 - r)));
        c = mix(c, Rgb{0.05f, 0.04f, 0.04f}, 1 - smoothstep(0.028f, 0.036f, border));
        // White dots along the border band.
        const float phase = std::atan2(q.y, q.x) * 30;
        const float dot_d = std::hypot((phase - std::round(phase)) * 0.012f, border - 0.017f);
        if (border < 0.03f) c = mix(c, Rgb{0.95f, 0.95f, 0.9f}, 1 - smoothstep(0.003f, 0.006f, dot_d));
        return c;
    };
    for (int side = -1; side <= 1; side += 2) {
        auto local = [&](float u, float v) { return Vec2{(u - root.x) * static_cast<float>(side), v - root.y}; };
        for (int part = 0; part < 2; ++part) {
            const std::vector<Vec2>& outline = part ? fore : hind;
            const std::vector<Vec2>& veins = part ? fore_veins : hind_veins;
            paint_shape(canvas, 0, 0, 1, 1, [&](float u, float v) { return polygon_distance(local(u, v), outline); },
                        [&](float u, float v, float d) { return wing_colour(local(u, v), veins, d); });
        }
    }
    const Stroke body = bezier_stroke({0.5f, 0.38f}, {0.5f, 0.5f}, {0.5f, 0.66f}, 0.022f, 0.012f, 8);
    paint_stroke(canvas, body, [](float along, float across, float, float) {
        return Rgb{0.10f, 0.08f, 0.07f} * (0.7f + 0.6f * across) * (1 - 0.3f * along);
    });
    paint_shape(canvas, 0.46f, 0.33f, 0.54f, 0.4f, [](float u, float v) { return length(Vec2{u, v} - Vec2{0.5f, 0.365f}) - 0.02f; },
                [](float, float, float) { return Rgb{0.08f, 0.07f, 0.06f}; });
    for (int side = -1; side <= 1; side += 2) {
        const float s = static_cast<float>(side);
        const Stroke antenna = bezier_stroke({0.5f + 0.008f * s, 0.35f}, {0.5f + 0.03f * s, 0.25f}, {0.5f + 0.07f * s, 0.2f}, 0.0025f, 0.0025f, 6);
        paint_stroke(canvas, antenna, [](float, float, float, float) { return Rgb{0.06f, 0.05f, 0.05f}; });
        const Vec2 club = {0.5f + 0.07f * s, 0.2f};
        paint_shape(canvas, club.x - 0.02f, club.y - 0.02f, club.x + 0.02f, club.y + 0.02f,
                    [&](float u, float v) { return length(Vec2{u, v} - club) - 0.006f; },
                    [](float, float, float) { return Rgb{0.06f, 0.05f, 0.05f}; });
    }
    bleed_colour(canvas.colour, canvas.alpha);
    return canvas;
}

}  // namespace

bool write_meadow_textures(const std::string& dir) {
    return save_texture_pair(dir, "grass", "grass_alpha", grass_blades()) &&
           save_texture(dir, "subgrass", ground_cover()) &&
           save_texture_pair(dir, "flowerhead", "flowerhead_alpha", flower_head()) &&
           save_texture(dir, "flowerleg", stem()) &&
           save_texture_pair(dir, "bfly", "bfly_alpha", butterfly());
}
