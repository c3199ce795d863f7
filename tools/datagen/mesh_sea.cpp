// Meshes of the sea: the water tile the scene animates, the ship and its
// separately placed sail, and the fish that swims along its heading.
#include <cmath>

#include "meshes.h"
#include "world.h"

namespace {

constexpr float tau = 6.28318531f;

using Uv = std::array<float, 2>;

// One tile: x and z from -15 to 15 at rest height 0, four vertices to every
// wave period of one unit, the picture repeated six times across.
Mesh water_tile() {
    Mesh mesh;
    const int cells = 120;
    add_grid(
        mesh, cells, cells, [](float s, float t) { return Vec3{-15 + 30 * t, 0, -15 + 30 * s}; },
        [](float s, float t) { return Uv{6 * t, 6 * s}; });
    return mesh;
}

// The hull's lines: stern (s = 0) to bow (s = 1).
float hull_z(float s) { return ship_centre.z - ship_length / 2 + ship_length * s; }
float half_beam(float s) { return ship_beam / 2 * std::sqrt(std::fmax(0.0f, 1 - std::pow((s - 0.42f) / 0.58f, 2.0f))); }
float sheer(float s) { return water_height + 1.1f + 0.55f * (2 * s - 1) * (2 * s - 1); }
float keel(float s) { return water_height - 1.4f * std::sqrt(std::fmax(0.05f, 1 - std::pow((s - 0.45f) / 0.62f, 2.0f))); }

// Texture v down the side: the painted band at the gunwale, the boot-top
// exactly at the waterline (0.62 of the hull band), antifouling below.
float hull_v(float s, float y) {
    const float f = y >= water_height ? 0.62f * (sheer(s) - y) / (sheer(s) - water_height)
                                      : 0.62f + 0.38f * (water_height - y) / (water_height - keel(s));
    return 0.75f * f;
}

Vec3 hull_point(float s, float theta) {
    const float side = std::sin(theta);
    const float x = ship_centre.x + half_beam(s) * (side < 0 ? -1.0f : 1.0f) * std::pow(std::fabs(side), 0.6f);
    const float y = sheer(s) - (sheer(s) - keel(s)) * std::pow(std::fabs(std::cos(theta)), 1.5f);
    return {x, y, hull_z(s)};
}

// A round spar from a to b.
void spar(Mesh& mesh, Vec3 a, Vec3 b, float radius) {
    const Vec3 axis = normalised(b - a);
    const Vec3 side = normalised(std::fabs(axis.y) > 0.9f ? cross(axis, Vec3{1, 0, 0}) : cross(axis, Vec3{0, 1, 0}));
    const Vec3 other = cross(axis, side);
    add_grid(
        mesh, 1, 8,
        [&](float s, float t) {
            const float a2 = tau * t;
            return a + (b - a) * s + side * (radius * std::cos(a2)) + other * (radius * std::sin(a2));
        },
        [](float s, float t) { return Uv{t, 0.8f + 0.2f * s}; });
}

// A box of the given half sizes standing on base (its bottom centre).
void box(Mesh& mesh, Vec3 base, float hx, float hy, float hz, float v0, float v1) {
    const Vec3 c[8] = {base + Vec3{-hx, 0, -hz}, base + Vec3{hx, 0, -hz}, base + Vec3{hx, 0, hz}, base + Vec3{-hx, 0, hz},
                       base + Vec3{-hx, 2 * hy, -hz}, base + Vec3{hx, 2 * hy, -hz}, base + Vec3{hx, 2 * hy, hz}, base + Vec3{-hx, 2 * hy, hz}};
    const int sides[5][4] = {{0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}, {4, 5, 6, 7}};
    for (const auto& q : sides) {
        const int32_t a = add_vertex(mesh, c[q[0]], 0, v1), b = add_vertex(mesh, c[q[1]], 1, v1);
        const int32_t d = add_vertex(mesh, c[q[2]], 1, v0), e = add_vertex(mesh, c[q[3]], 0, v0);
        add_quad(mesh, a, e, d, b);
    }
}

Mesh ship_world() {
    Mesh mesh;
    const float half_pi = tau / 4;
    Mesh hull;
    add_grid(
        hull, 24, 16, [&](float s, float t) { return hull_point(s, -half_pi + 2 * half_pi * t); },
        [&](float s, float t) { return Uv{3 * s, hull_v(s, hull_point(s, -half_pi + 2 * half_pi * t).y)}; });
    flip_faces(hull);
    append(mesh, hull);
    // Transom: a fan across the square stern.
    const Vec3 stern_centre = {ship_centre.x, (sheer(0) + keel(0)) / 2, hull_z(0)};
    const int32_t hub = add_vertex(mesh, stern_centre, 0.5f, 0.3f);
    int32_t previous = -1;
    for (int j = 0; j <= 16; ++j) {
        const Vec3 p = hull_point(0, -half_pi + 2 * half_pi * static_cast<float>(j) / 16);
        const int32_t k = add_vertex(mesh, p, 0.5f + (p.x - ship_centre.x) / ship_beam, 0.3f);
        if (previous >= 0) add_triangle(mesh, hub, previous, k);
        previous = k;
    }
    // Deck, slightly below the gunwale.
    add_grid(
        mesh, 24, 4,
        [&](float s, float t) { return Vec3{ship_centre.x + half_beam(s) * (2 * t - 1) * 0.97f, sheer(s) - 0.15f, hull_z(s)}; },
        [](float s, float t) { return Uv{3 * s, 0.76f + 0.23f * t}; });
    const float deck_y = sheer(0.5f) - 0.15f;
    box(mesh, {ship_centre.x, sheer(0.18f) - 0.2f, hull_z(0.18f)}, 0.9f, 0.55f, 1.1f, 0.15f, 0.45f);
    spar(mesh, {ship_centre.x, deck_y, mast_z}, {ship_centre.x, mast_top, mast_z}, 0.13f);
    spar(mesh, {ship_centre.x, 7.2f, mast_z}, {ship_centre.x, 7.3f, mast_z - 6.5f}, 0.09f);
    spar(mesh, {ship_centre.x, 13.0f, mast_z}, {ship_centre.x, 14.6f, mast_z - 5.3f}, 0.08f);
    spar(mesh, {ship_centre.x, sheer(1) - 0.2f, hull_z(1) - 0.2f}, {ship_centre.x, sheer(1) + 0.4f, hull_z(1) + 2.2f}, 0.07f);
    return mesh;
}

// The gaff sail between the mast, the boom and the gaff, bellied out to +x
// by the wind; u runs aft from the mast, v down from the head.
Mesh sail_world() {
    Mesh mesh;
    const Vec3 throat = {ship_centre.x, 13.1f, mast_z - 0.2f}, peak = {ship_centre.x, 14.45f, mast_z - 5.1f};
    const Vec3 tack = {ship_centre.x, 7.4f, mast_z - 0.2f}, clew = {ship_centre.x, 7.5f, mast_z - 6.3f};
    add_grid(
        mesh, 10, 10,
        [&](float s, float t) {
            const Vec3 top = throat + (peak - throat) * s, bottom = tack + (clew - tack) * s;
            const float belly = 0.8f * std::sin(3.14159265f * s) * std::sin(3.14159265f * t);
            return top + (bottom - top) * t + Vec3{belly, 0, 0};
        },
        [](float s, float t) { return Uv{s, t}; });
    return mesh;
}

// A flat fin of the given thickness in the x-y plane, fanned from a point
// from which its whole outline is visible; both faces and the rim.
void fin(Mesh& mesh, Vec3 centre, const std::vector<Vec3>& outline, float thickness) {
    for (int face = 0; face < 2; ++face) {
        const float z = face ? -thickness / 2 : thickness / 2;
        const int32_t hub = add_vertex(mesh, centre + Vec3{0, 0, z}, 0, 0);
        const size_t n = outline.size();
        std::vector<int32_t> ring;
        for (const Vec3& p : outline) ring.push_back(add_vertex(mesh, p + Vec3{0, 0, z}, 0, 0));
        for (size_t i = 0; i + 1 < n; ++i) {
            if (face) add_triangle(mesh, hub, ring[i + 1], ring[i]);
            else add_triangle(mesh, hub, ring[i], ring[i + 1]);
        }
    }
    for (size_t i = 0; i + 1 < outline.size(); ++i) {
        const Vec3 a = outline[i], b = outline[i + 1];
        const int32_t a0 = add_vertex(mesh, a + Vec3{0, 0, thickness / 2}, 0, 0), b0 = add_vertex(mesh, b + Vec3{0, 0, thickness / 2}, 0, 0);
        const int32_t a1 = add_vertex(mesh, a - Vec3{0, 0, thickness / 2}, 0, 0), b1 = add_vertex(mesh, b - Vec3{0, 0, thickness / 2}, 0, 0);
        add_quad(mesh, a0, a1, b1, b0);
    }
}

// The fish in its swimming frame in world units: head to +x, back up, about
// 1.35 long beside the two-unit boy; a laterally flattened body with tail and
// dorsal fins, modelled 4.1 long and then shrunk.
Mesh fish_local() {
    Mesh mesh;
    add_grid(
        mesh, 24, 20,
        [](float s, float t) {
            const float x = -1.5f + 3.3f * s;
            const float r = 0.72f * std::pow(std::fmax(0.0f, std::sin(3.14159265f * std::pow(s, 0.8f))), 0.85f) + 0.001f;
            const float a = tau * t;
            return Vec3{x, r * std::cos(a) + 0.06f * r, -0.42f * r * std::sin(a)};
        },
        [](float, float) { return Uv{0, 0}; }, true);
    fin(mesh, {-1.65f, 0, 0}, {{-1.3f, 0.14f, 0}, {-2.3f, 0.8f, 0}, {-2.0f, 0, 0}, {-2.3f, -0.8f, 0}, {-1.3f, -0.14f, 0}}, 0.05f);
    fin(mesh, {0.0f, 0.75f, 0}, {{0.55f, 0.6f, 0}, {-0.15f, 1.15f, 0}, {-0.55f, 0.5f, 0}}, 0.04f);
    transform(mesh, scaling(0.33, 0.33, 0.33));
    return mesh;
}

}  // namespace

bool write_sea_meshes(const std::string& dir) {
    const Mat4 ship_scene = rotation(-90, 1, 0, 0) * scaling(0.1, 0.1, 0.1) * translation(0, 0, 45);
    const Mat4 sail_scene = scaling(0.0625, 0.1, -1.0 / 22) * rotation(70, 0, 1, 0) * translation(-12, 65, -35);
    const Mat4 fish_scene = rotation(-90, 1, 0, 0) * scaling(1.0 / 3, 1.0 / 3, 1.0 / 3);
    return save_mesh(dir, "water", water_tile()) && save_mesh(dir, "ship", to_scene_units(ship_world(), ship_scene)) &&
           save_mesh(dir, "parus", to_scene_units(sail_world(), sail_scene)) &&
           save_mesh(dir, "fish", to_scene_units(fish_local(), fish_scene));
}
