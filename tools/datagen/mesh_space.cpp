// Meshes of the earth scene: the globe (radius 100, also the star backdrop
// at ten times that) and the small star sprite.
#include "meshes.h"

namespace {

// The globe turns about the world z axis (after the scene's 90 degree turn
// about y), so its poles are put on that axis: at rest the scene draws it
// under rotate(90, y) and scale 0.1.
Mesh globe() {
    Mesh world = uv_sphere(10, 64, 32, 1);
    transform(world, rotation(90, 1, 0, 0));  // poles from the y axis onto z, north at +z
    return to_scene_units(world, rotation(90, 0, 1, 0) * scaling(0.1, 0.1, 0.1));
}

// Three crossed cards, so the sprite shows whichever way a star is turned;
// 6 units across after the scene's scale 0.1.
Mesh star() {
    Mesh mesh;
    const float h = 30;
    const Vec3 axes[3][2] = {{{1, 0, 0}, {0, 1, 0}}, {{0, 1, 0}, {0, 0, 1}}, {{0, 0, 1}, {1, 0, 0}}};
    for (const auto& axis : axes) {
        const Vec3 a = axis[0] * h, b = axis[1] * h;
        const int32_t p0 = add_vertex(mesh, Vec3{0, 0, 0} - a - b, 0, 0), p1 = add_vertex(mesh, a - b, 1, 0);
        const int32_t p2 = add_vertex(mesh, a + b, 1, 1), p3 = add_vertex(mesh, b - a, 0, 1);
        add_quad(mesh, p0, p1, p2, p3);
    }
    return mesh;
}

}  // namespace

bool write_space_meshes(const std::string& dir) { return save_mesh(dir, "earth", globe()) && save_mesh(dir, "star", star()); }
