// Environment 1: a meadow of grass clumps and flowers under a dark sky dome,
// butterflies flapping across it and the boy walking towards the camera.
// Also the boy sprite that environments 1 to 5 share.
#include "scenes/scene_en1.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "assets/qor_geox.h"
#include "assets/scene_globaldata.h"
#include "engine/qor_views.h"
#include "engine/work_steps.h"
#include "frame/globals.h"
#include "frame/main_loop.h"
#include "scenes/camera_paths.h"
#include "scenes/environment_steps.h"

namespace {

struct point3 {
    float x, y, z;
};

struct butterfly {
    point3 start;
    point3 end;
};

// A copy standing on the ground (a grass clump, a flower): at (x, 0, z),
// turned about the vertical, stretched in height, then scaled to its mesh.
struct ground_pose {
    float x, z;
    float turn;  // degrees
    float stretch;
};

constexpr int butterfly_count = 101;
constexpr int flower_count = 201;
constexpr float flower_scale = 0.0012048193f;  // 1/830
constexpr float grass_scale = 0.033333335f;    // 1/30
constexpr float butterfly_scale = 0.0241f;
// Far above the float transform's rounding at the meadow's size (the grass
// within 11.7 of the centre, the flowers within 20).
constexpr float pose_box_margin = 0.01f;

// Scene-kind data, rebuilt by every init.
TGeoxData grass, subgrass, flowerhead, flowerleg, bfly1, bfly2, wing_a, wing_b;
// The wings' corners for glDrawElements: both copies load the same file.
std::vector<uint32_t> wing_corners;
butterfly butterflies[butterfly_count];
// Kept from init so that heads and stems match.
ground_pose flower_places[flower_count];
view_bounds flower_head_boxes[flower_count], flower_leg_boxes[flower_count];
ground_pose grass_clumps[grass_clump_count];
view_bounds grass_boxes[grass_clump_count];

// (0.5 - draw / 100000) * span, the butterflies' spread around a centre.
double spread(uint32_t draw, double span) { return (0.5 - draw / 100000.0) * span; }

void place_butterflies() {
    for (butterfly& b : butterflies) {
        b.start.x = static_cast<float>(spread(random_int(100000), 1130));
        b.start.y = 0;
        b.start.z = static_cast<float>(spread(random_int(100000), 1130));
        b.end.x = static_cast<float>(spread(random_int(100000), 300) + b.start.x);
        b.end.y = static_cast<float>(spread(random_int(100000), 500));
        b.end.z = static_cast<float>(spread(random_int(100000), 300) + b.start.z);
    }
}

// A height stretch in [0, 0.6) from two draws, small values more likely.
float stretch_from_two_draws(uint32_t bound) {
    const double k = random_int(bound) * 0.6 / bound;
    return static_cast<float>(random_int(bound) * k / bound);
}

// A turn in whole-degree steps of 360/bound, the product taken as an integer.
float turn_from_draw(uint32_t bound) {
    return static_cast<float>(static_cast<double>(random_int(bound) * 360u) / bound);
}

// Each flower at an angle and a distance of up to 20 from the centre.
void place_flowers() {
    for (ground_pose& f : flower_places) {
        const auto angle = static_cast<float>(random_int(10000) * 2 * std::numbers::pi / 10000);
        const auto distance = static_cast<float>(random_int(10000) * 20.0 / 10000);
        f.x = std::sin(angle) * distance;
        f.z = std::cos(angle) * distance;
        f.turn = turn_from_draw(10000);
        f.stretch = stretch_from_two_draws(10000);
    }
}

void place_grass_clumps() {
    for (ground_pose& c : grass_clumps) {
        do {
            c.x = grass_coordinate(random_int(100000));
            c.z = grass_coordinate(random_int(100000));
        } while (!inside_grass_disc(c.x, c.z));
        c.turn = turn_from_draw(10000);
        c.stretch = stretch_from_two_draws(10000);
    }
}

void apply_ground_pose(const ground_pose& g, float mesh_scale) {
    glTranslatef(g.x, 0, g.z);
    glRotatef(g.turn, 0, 1, 0);
    glScalef(1, 1 + g.stretch, 1);
    glScalef(mesh_scale, mesh_scale, mesh_scale);
}

// The same pose in double, for the copy's box.
clip_matrix ground_pose_matrix(const ground_pose& g, float mesh_scale) {
    clip_matrix m = identity_matrix();
    translate(m, g.x, 0, g.z);
    rotate(m, g.turn, 0, 1, 0);
    scale(m, 1, 1 + g.stretch, 1);
    scale(m, mesh_scale, mesh_scale, mesh_scale);
    return m;
}

void pose_flower(int flower) { apply_ground_pose(flower_places[flower], flower_scale); }
clip_matrix flower_matrix(int flower) { return ground_pose_matrix(flower_places[flower], flower_scale); }
clip_matrix grass_clump_matrix(int clump) { return ground_pose_matrix(grass_clumps[clump], grass_scale); }

// The lists of the last init's placements, one copy each, with every copy's
// box for the view test; those of an earlier init go.
void build_meadow_lists() {
    build_posed_copies(flowerhead, flower_count, flower_matrix, pose_box_margin, flower_head_boxes);
    build_posed_copies(flowerleg, flower_count, flower_matrix, pose_box_margin, flower_leg_boxes);
    compile_mesh_list(subgrass, draw_geox_textured);
    build_posed_copies(grass, grass_clump_count, grass_clump_matrix, pose_box_margin, grass_boxes);
}

// Cut-out drawing: texels with alpha above one half only.
void enable_alpha_cutout() {
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
}

void disable_alpha_cutout() {
    glAlphaFunc(GL_ALWAYS, 0);
    glDisable(GL_ALPHA_TEST);
}

// The two wing copies: a blend of the two wing poses, and its mirror in z,
// reshaped in place every frame and drawn from client arrays.
void shape_wings(float p) {
    const double m = (std::sin(320.0 * p) + 1) / 2;
    const size_t n = std::min({bfly1.vertices.size(), bfly2.vertices.size(),
                               wing_a.vertices.size(), wing_b.vertices.size()});
    for (size_t j = 0; j < n; ++j) {
        wing_a.vertices[j].z =
            static_cast<float>(bfly1.vertices[j].z * m + (1 - m) * bfly2.vertices[j].z);
        wing_b.vertices[j].z = -wing_a.vertices[j].z;
    }
}

float along(float from, float to, float p) { return static_cast<float>(from + double{p} * (to - from)); }

// The current texture coordinates are left as the last wing drawn whole
// in immediate mode would leave them.
void draw_butterflies(float p) {
    const TGeoxData* wing = &wing_a;
    for (int i = 0; i < butterfly_count; ++i) {
        const butterfly& b = butterflies[i];
        glPushMatrix();
        glScalef(butterfly_scale, butterfly_scale, butterfly_scale);
        glTranslatef(along(b.start.x, b.end.x, p), along(b.start.y, b.end.y, p),
                     along(b.start.z, b.end.z, p));
        glRotatef(static_cast<float>(5.0 * i + 900.0 * p), 0, 1, 0);
        glRotatef(45, 1, 0, 0);
        wing = i % 2 == 0 ? &wing_a : &wing_b;
        begin_mesh_arrays(*wing, true, false);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(wing_corners.size()), GL_UNSIGNED_INT,
                       wing_corners.data());
        glPopMatrix();
    }
    end_mesh_arrays();
    leave_last_corner_state(*wing, true, false);
}

}  // namespace

void pose_grass_clump(int clump) { apply_ground_pose(grass_clumps[clump], grass_scale); }

const view_bounds& grass_clump_box(int clump) { return grass_boxes[clump]; }

float grass_coordinate(uint32_t draw) {
    return static_cast<float>((draw / 100000.0 - 0.5) * 2 * grass_disc_radius);
}

bool inside_grass_disc(float x, float z) {
    return std::sqrt(double{x} * x + double{z} * z) < grass_disc_radius;
}

void tscene_en1::init() {
    end_overlay();
    load_geox(grass, "data\\grass.geox");
    load_geox(subgrass, "data\\subgrass.geox");
    load_geox(flowerhead, "data\\flowerhead.geox");
    load_geox(flowerleg, "data\\flowerleg.geox");
    load_geox(bfly1, "data\\bfly1.geox");
    load_geox(bfly2, "data\\bfly2.geox");
    load_geox(wing_a, "data\\bfly1.geox");
    load_geox(wing_b, "data\\bfly1.geox");
    wing_corners = face_corner_indices(wing_a);
    load_environment_path(1);
    place_butterflies();
    place_flowers();
    glLoadIdentity();
    place_grass_clumps();
    defer_list_build(build_meadow_lists);
}

void tscene_en1::render(int32_t time) {
    build_deferred_lists();
    const float p = progress(time);
    glClearColor(0, 0, 0.3f, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    end_overlay();
    follow_environment_path(1, time, p);
    apply_camera(current_camera);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);

    glPushMatrix();
    glTranslatef(0, 0, 15 * (p - 1));
    draw_walking_boy();
    glPopMatrix();
    work_checkpoint("meadow.boy");

    apply_camera(current_camera);
    draw_sky_dome();
    work_checkpoint("meadow.sky");

    apply_camera(current_camera);
    enable_alpha_cutout();
    bind_named_texture("grass");
    draw_copies_in_view(grass.list, grass_boxes, 0, grass_clump_count, pose_grass_clump);
    disable_alpha_cutout();
    work_checkpoint("meadow.grass");

    apply_camera(current_camera);
    enable_alpha_cutout();
    bind_named_texture("flowerhead");
    draw_copies_in_view(flowerhead.list, flower_head_boxes, 0, flower_count, pose_flower);
    disable_alpha_cutout();

    apply_camera(current_camera);
    bind_named_texture("flowerleg");
    draw_copies_in_view(flowerleg.list, flower_leg_boxes, 0, flower_count, pose_flower);
    work_checkpoint("meadow.flowers");

    shape_wings(p);
    apply_camera(current_camera);
    enable_alpha_cutout();
    bind_named_texture("bfly");
    draw_butterflies(p);
    disable_alpha_cutout();
    work_checkpoint("meadow.butterflies");

    apply_camera(current_camera);
    bind_named_texture("subgrass");
    call_list_pushed(subgrass.list);
    work_checkpoint("meadow.subgrass");
    glDisable(GL_DEPTH_TEST);
}
