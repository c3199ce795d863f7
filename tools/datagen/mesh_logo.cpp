// The festival monogram as a solid: every stroke of the QV swept with a
// rounded-square section, the open strokes closed by domed ends. It has no
// texture coordinates of use (the scene maps a reflection onto it), so only
// smooth, outward-wound surfaces matter. Logo units; the scene scales by 3.
#include <cmath>

#include "logo_shape.h"
#include "meshes.h"

namespace {

constexpr float tau = 6.28318531f;
constexpr float depth = 0.17f;  // half the thickness in z
constexpr int around = 28;      // section segments

// The rounded-square section: a superellipse of exponent 4.
Vec2 section(float t) {
    const float a = tau * t, c = std::cos(a), s = std::sin(a);
    auto shape = [](float v) { return (v < 0 ? -1.0f : 1.0f) * std::pow(std::fabs(v), 0.5f); };
    return {shape(c), shape(s)};
}

Vec3 section_point(Vec2 centre, Vec2 normal, float scale, float t) {
    const Vec2 q = section(t);
    const Vec2 p = centre + normal * (q.x * logo_stroke_radius * scale);
    return {p.x, p.y, q.y * depth * scale};
}

// The closed ring, swept along its polyline without a seam.
void ring(Mesh& mesh, const LogoStroke& stroke) {
    const size_t n = stroke.points.size();
    Mesh part;
    add_grid(
        part, static_cast<int>(n), around,
        [&](float s, float t) {
            const size_t i = static_cast<size_t>(std::lround(s * static_cast<float>(n))) % n;
            const Vec2 prev = stroke.points[(i + n - 1) % n], next = stroke.points[(i + 1) % n];
            const Vec2 dir = next - prev;
            const Vec2 normal = Vec2{dir.y, -dir.x} * (1 / length(dir));
            return section_point(stroke.points[i], normal, 1, t);
        },
        [](float, float) { return std::array<float, 2>{0, 0}; }, true);
    // Merge the last ring of vertices into the first so the loop is closed.
    const int32_t columns = around, last = static_cast<int32_t>(n) * columns;
    for (auto& f : part.faces)
        for (int32_t& i : f)
            if (i >= last) i -= last;
    part.vertices.resize(static_cast<size_t>(last));
    append(mesh, part);
}

// An open straight stroke a-b with hemispherical-looking caps: the section
// shrinks to a point over one stroke radius beyond either end.
void bar(Mesh& mesh, Vec2 a, Vec2 b) {
    const Vec2 dir = (b - a) * (1 / length(b - a));
    const Vec2 normal = {dir.y, -dir.x};
    const float len = length(b - a), cap = logo_stroke_radius;
    add_grid(
        mesh, 24, around,
        [&](float s, float t) {
            // Spend a third of the rows on each cap so the domes are smooth.
            float along, scale = 1;
            if (s < 1.0f / 3) {
                const float k = 1 - 3 * s;  // 1 at the tip, 0 where the cap meets the bar
                along = -cap * std::sin(k * tau / 4);
                scale = std::cos(k * tau / 4);
            } else if (s > 2.0f / 3) {
                const float k = 3 * s - 2;
                along = len + cap * std::sin(k * tau / 4);
                scale = std::cos(k * tau / 4);
            } else {
                along = len * (3 * s - 1);
            }
            return section_point(a + dir * along, normal, std::fmax(scale, 0.0f), t);
        },
        [](float, float) { return std::array<float, 2>{0, 0}; }, true);
}

Mesh logo() {
    Mesh mesh;
    for (const LogoStroke& stroke : logo_strokes()) {
        if (stroke.closed) ring(mesh, stroke);
        else bar(mesh, stroke.points[0], stroke.points[1]);
    }
    return mesh;
}

}  // namespace

bool write_logo_mesh(const std::string& dir) { return save_mesh(dir, "qvlogo", logo()); }
