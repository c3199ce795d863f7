// The block city: streets on a grid either side of a clear avenue along the
// z axis; lower blocks go into kubes, towers into kubeshigh. Designed in
// world units and written in the scene's units (it is drawn scaled by 0.012).
#include <algorithm>
#include <cmath>

#include "meshes.h"
#include "city_layout.h"
#include "procgen.h"
#include "world.h"

namespace {

constexpr float scene_scale = 0.012f;
constexpr float city_half_size = 18.0f;

// A block with four walls and a flat roof in facade style band. Each wall
// is cut into pieces one band wide (rounded to whole bands) so windows keep
// their size; storeys are counted down from the roof, and the roof shows a
// plain spot of the band's wall.
void building(Mesh& mesh, float x0, float z0, float x1, float z1, float height, const FacadeGrid& grid, int band) {
    const Vec3 c[4] = {{x0, 0, z0}, {x1, 0, z0}, {x1, 0, z1}, {x0, 0, z1}};
    const float band_u = 1.0f / facade_bands, u0 = band_u * static_cast<float>(band);
    const float band_width = grid.bay_width * static_cast<float>(grid.bays);
    const float v1 = height / (grid.storey_height * static_cast<float>(grid.storeys));
    for (int i = 0; i < 4; ++i) {
        const Vec3 a = c[i], b = c[(i + 1) % 4];
        const int pieces = std::max(1, static_cast<int>(std::lround(length(b - a) / band_width)));
        for (int k = 0; k < pieces; ++k) {
            const Vec3 p = a + (b - a) * (static_cast<float>(k) / static_cast<float>(pieces));
            const Vec3 q = a + (b - a) * (static_cast<float>(k + 1) / static_cast<float>(pieces));
            const int32_t p0 = add_vertex(mesh, p, u0, v1), p1 = add_vertex(mesh, q, u0 + band_u, v1);
            const int32_t p2 = add_vertex(mesh, q + Vec3{0, height, 0}, u0 + band_u, 0), p3 = add_vertex(mesh, p + Vec3{0, height, 0}, u0, 0);
            // Walls face outwards: corners run clockwise seen from above.
            add_quad(mesh, p0, p3, p2, p1);
        }
    }
    const float roof_u = u0 + 0.004f, roof_v = 0.002f;
    int32_t r[4];
    for (int i = 0; i < 4; ++i) r[i] = add_vertex(mesh, c[i] + Vec3{0, height, 0}, roof_u, roof_v);
    add_quad(mesh, r[0], r[3], r[2], r[1]);
}

struct City {
    Mesh blocks, towers;
};

City build_city() {
    City city;
    Rng rng = make_rng(3301);
    const float street = 1.1f, lot = 3.4f, pitch = lot + street;
    for (int side = -1; side <= 1; side += 2) {
        for (float along = -city_half_size; along + lot <= city_half_size; along += pitch) {
            for (float across = avenue_half_width; across + lot <= city_half_size + 1; across += pitch) {
                // Each block of the grid holds one to four buildings.
                const int split = below(rng, 3);
                const int nx = split == 2 ? 2 : 1, nz = split >= 1 ? 2 : 1;
                for (int i = 0; i < nx; ++i) {
                    for (int j = 0; j < nz; ++j) {
                        const float w = lot / static_cast<float>(nx), d = lot / static_cast<float>(nz);
                        const float inset = uniform(rng, 0.08f, 0.3f);
                        float a0 = across + w * static_cast<float>(i) + inset, a1 = across + w * static_cast<float>(i + 1) - inset;
                        const float b0 = along + d * static_cast<float>(j) + inset, b1 = along + d * static_cast<float>(j + 1) - inset;
                        const float distance = across + std::fabs(along) * 0.3f;
                        // Towers stand back from the avenue so the camera can fly low over it.
                        const bool tower = across >= 7 && uniform(rng) < 0.15f + 0.025f * distance;
                        const float height = tower ? uniform(rng, 4.5f, 8.5f) : uniform(rng, 1.0f, 3.0f) + 0.08f * distance;
                        if (side < 0) {
                            const float t = a0;
                            a0 = -a1;
                            a1 = -t;
                        }
                        building(tower ? city.towers : city.blocks, a0, b0, a1, b1, height, tower ? tower_grid : block_grid,
                                 below(rng, facade_bands));
                    }
                }
            }
        }
    }
    const Mat4 to_file = scaling(1 / scene_scale, 1 / scene_scale, 1 / scene_scale);
    transform(city.blocks, to_file);
    transform(city.towers, to_file);
    return city;
}

}  // namespace

bool write_city_meshes(const std::string& dir) {
    const City city = build_city();
    return save_mesh(dir, "kubes", city.blocks) && save_mesh(dir, "kubeshigh", city.towers);
}
