// Meshes of the meadow: the sky dome (shared with the sea), a grass clump,
// the ground disc (also the seabed), a flower's head and stem, and the
// butterfly in its wings-up and wings-down poses.
#include <cmath>

#include "meshes.h"
#include "procgen.h"
#include "world.h"

namespace {

constexpr float tau = 6.28318531f;

float smooth01(float e0, float e1, float v) {
    const float t = std::fmin(1.0f, std::fmax(0.0f, (v - e0) / (e1 - e0)));
    return t * t * (3 - 2 * t);
}

// The dome: a true sphere in the world; the scenes turn it 90 degrees about
// x and stretch it by (1, 5, 1), so the file holds the inverse of that.
Mesh sky_dome() {
    const Mesh world = uv_sphere(sky_radius, 48, 24, 2);
    return to_scene_units(world, rotation(90, 1, 0, 0) * scaling(1, 5, 1));
}

// A clump of three bent blade cards crossing near its middle, 0.30 units
// tall and 0.36 wide; the scene shrinks it by 30.
Mesh grass_clump() {
    Mesh mesh;
    const float height = 0.30f, half_width = 0.18f, bend = 0.03f;
    for (int k = 0; k < 3; ++k) {
        const float a = tau * static_cast<float>(k) / 6 + 0.3f;
        const Vec3 along = {std::cos(a), 0, std::sin(a)}, out = {-std::sin(a), 0, std::cos(a)};
        const Vec3 centre = out * (0.025f * static_cast<float>(k - 1));
        int32_t row[3][2];
        for (int level = 0; level < 3; ++level) {
            const float f = static_cast<float>(level) / 2;
            const Vec3 lift = Vec3{0, height * f, 0} + out * (bend * f * f);
            for (int side = 0; side < 2; ++side) {
                const Vec3 p = centre + along * (side ? half_width : -half_width) + lift;
                row[level][side] = add_vertex(mesh, p, static_cast<float>(side), 1 - f);
            }
        }
        for (int level = 0; level < 2; ++level) add_quad(mesh, row[level][0], row[level][1], row[level + 1][1], row[level + 1][0]);
    }
    transform(mesh, scaling(30, 30, 30));
    return mesh;
}

// The ground: flat out to 15.5 units (the meadow and the boy's walk, which
// starts 15 out), then rising into low rolling hills that hide the disc's
// rim at 36 units.
Mesh ground_disc() {
    Mesh mesh;
    const float radius = 36.0f;
    add_grid(
        mesh, 48, 96,
        [&](float s, float t) {
            const float r = radius * s, a = tau * t;
            const float x = r * std::cos(a), z = r * std::sin(a);
            const float rise = smooth01(15.5f, 34, r);
            const float hills = 2.6f * rise * rise + 1.2f * rise * (fbm2(x * 0.12f, z * 0.12f, 3, 0, 3101) * 0.5f + 0.5f);
            return Vec3{x, hills, z};
        },
        [&](float s, float t) {
            const float r = radius * s, a = tau * t;
            return std::array<float, 2>{r * std::cos(a) / 2.5f, r * std::sin(a) / 2.5f};
        });
    return mesh;
}

// A flower in its own units before the scene's 1/830: a stem 0.5 tall.
constexpr float stem_height = 0.5f;
constexpr Vec3 head_centre = {0.02f, stem_height, 0.0f};

Vec3 stem_point(float f) { return {head_centre.x * f * f, stem_height * f, 0}; }

Mesh flower_stem() {
    Mesh mesh;
    add_grid(
        mesh, 8, 6,
        [&](float s, float t) {
            const float r = 0.0065f - 0.0025f * s, a = -tau * t;
            return stem_point(s) + Vec3{r * std::cos(a), 0, r * std::sin(a)};
        },
        [&](float s, float t) { return std::array<float, 2>{t, s * 4}; });
    // Two leaves, each a bent blade of two quads.
    for (int k = 0; k < 2; ++k) {
        const float f = 0.22f + 0.2f * static_cast<float>(k), a = 1.3f + 2.6f * static_cast<float>(k);
        const Vec3 root = stem_point(f), dir = {std::cos(a), 0, std::sin(a)}, side = {-std::sin(a), 0, std::cos(a)};
        const Vec3 mid = root + dir * 0.05f + Vec3{0, 0.035f, 0}, tip = root + dir * 0.1f + Vec3{0, 0.04f, 0};
        const int32_t r0 = add_vertex(mesh, root + side * 0.004f, 0, 0), r1 = add_vertex(mesh, root - side * 0.004f, 1, 0);
        const int32_t m0 = add_vertex(mesh, mid + side * 0.016f, 0, 0.5f), m1 = add_vertex(mesh, mid - side * 0.016f, 1, 0.5f);
        const int32_t t0 = add_vertex(mesh, tip, 0.5f, 1);
        add_quad(mesh, r0, r1, m1, m0);
        add_triangle(mesh, m0, m1, t0);
    }
    transform(mesh, scaling(830, 830, 830));
    return mesh;
}

// The head: the face-on flower picture on two crossed upright cards and one
// card facing up, all through the top of the stem.
Mesh flower_head() {
    Mesh mesh;
    const float h = 0.075f;
    auto card = [&](Vec3 right, Vec3 down) {
        const int32_t a = add_vertex(mesh, head_centre - right * h - down * h, 0, 0);
        const int32_t b = add_vertex(mesh, head_centre + right * h - down * h, 1, 0);
        const int32_t c = add_vertex(mesh, head_centre + right * h + down * h, 1, 1);
        const int32_t d = add_vertex(mesh, head_centre - right * h + down * h, 0, 1);
        add_quad(mesh, a, d, c, b);
    };
    card({1, 0, 0}, {0, -1, 0});
    card({0, 0, 1}, {0, -1, 0});
    card({1, 0, 0}, {0, 0, 1});
    transform(mesh, scaling(830, 830, 830));
    return mesh;
}

// The butterfly in the units of its scene transform (about 14 across): the
// body along x with the head at +x, the wings spanning y, the flap in z. The
// two poses differ only in z, so the scene can blend them vertex by vertex.
Mesh butterfly(float lift) {
    Mesh mesh;
    const float half = 7.0f;
    for (int side = -1; side <= 1; side += 2) {
        Mesh wing;
        add_grid(
            wing, 6, 4,
            [&](float s, float t) {
                const float y = half * s * static_cast<float>(side), x = half * (1 - 2 * t);
                const float reach = std::fabs(y);
                return Vec3{x, y, lift * reach * (1 + 0.15f * reach / half)};
            },
            [&](float s, float t) { return std::array<float, 2>{0.5f + 0.5f * s * static_cast<float>(side), t}; });
        if (side < 0) flip_faces(wing);
        append(mesh, wing);
    }
    return mesh;
}

}  // namespace

bool write_meadow_meshes(const std::string& dir) {
    return save_mesh(dir, "sky", sky_dome()) && save_mesh(dir, "grass", grass_clump()) &&
           save_mesh(dir, "subgrass", ground_disc()) && save_mesh(dir, "flowerhead", flower_head()) &&
           save_mesh(dir, "flowerleg", flower_stem()) && save_mesh(dir, "bfly1", butterfly(0.85f)) &&
           save_mesh(dir, "bfly2", butterfly(-0.32f));
}
