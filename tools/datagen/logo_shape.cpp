// The "QV" monogram: a Q ring with its tail, and a V whose left arm crosses
// the ring, so the two letters interlock.
#include "logo_shape.h"

#include <cmath>

namespace {

constexpr Vec2 ring_centre = {-0.30f, 0.05f};
constexpr float ring_radius = 0.55f;

float path_distance(const LogoStroke& stroke, Vec2 p) {
    float best = 1e9f;
    const size_t n = stroke.points.size();
    const size_t segments = stroke.closed ? n : n - 1;
    for (size_t i = 0; i < segments; ++i) best = std::min(best, segment_distance(p, stroke.points[i], stroke.points[(i + 1) % n]));
    return best - logo_stroke_radius;
}

}  // namespace

std::vector<LogoStroke> logo_strokes() {
    LogoStroke ring{{}, true};
    const int segments = 72;
    for (int i = 0; i < segments; ++i) {
        const float a = 2 * pi * static_cast<float>(i) / segments;
        ring.points.push_back(ring_centre + Vec2{std::cos(a), std::sin(a)} * ring_radius);
    }
    return {ring,
            {{{-0.10f, -0.30f}, {0.14f, -0.64f}}, false},
            {{{0.10f, 0.60f}, {0.48f, -0.55f}}, false},
            {{{0.48f, -0.55f}, {0.88f, 0.60f}}, false}};
}

float logo_distance(Vec2 p) {
    static const std::vector<LogoStroke> strokes = logo_strokes();
    float best = 1e9f;
    for (const LogoStroke& stroke : strokes) best = std::min(best, path_distance(stroke, p));
    return best;
}

float logo_v_distance(Vec2 p) {
    static const std::vector<LogoStroke> strokes = logo_strokes();
    return std::min(path_distance(strokes[2], p), path_distance(strokes[3], p));
}
