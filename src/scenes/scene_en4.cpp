// Environment 4: a turning earth inside a star backdrop, three additive star
// fields around it and the boy walking on the spot above the origin.
#include "scenes/scene_en4.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdint>

#include "assets/qor_geox.h"
#include "engine/view_volume.h"
#include "engine/work_steps.h"
#include "frame/globals.h"
#include "frame/main_loop.h"
#include "scenes/camera_paths.h"
#include "scenes/environment_steps.h"

namespace {

// The star layout is its own: the shared generator restarts here.
constexpr uint32_t star_seed = 8124751;
constexpr int field_count = 3;
constexpr float field_half_size[field_count] = {200, 275, 350};
constexpr const char* field_texture[field_count] = {"star1", "star2", "star3"};
constexpr int groups_per_field = 334;
constexpr int stars_per_group = 7;
// Groups keep at least this distance from each of the three centre planes.
constexpr float centre_clearance = 10;
constexpr float star_scale = 0.1f;

constexpr float rotation_axis[3] = {1, 1.9f, 0.7f};
constexpr int stars_per_field = groups_per_field * stars_per_group;
// Far above the float transform's rounding at the fields' size (up to 350).
constexpr float star_box_margin = 0.05f;

// Where one star sits: turned about the fixed axis, then moved to its
// group's centre.
struct star_pose {
    float turn;  // degrees
    float x, y, z;
};

// Scene-kind data, rebuilt by every init.
TGeoxData globe, star;
// Field f's stars are f * stars_per_field onwards.
star_pose star_poses[field_count * stars_per_field];
view_bounds star_boxes[field_count * stars_per_field];

float field_coordinate(float half_size) {
    return static_cast<float>((0.5 - random_int(100000) / 100000.0) * 2 * half_size);
}

bool clear_of_centre(float x, float y, float z) {
    return std::fabs(x) >= centre_clearance && std::fabs(y) >= centre_clearance &&
           std::fabs(z) >= centre_clearance;
}

void place_star_group(float half_size, star_pose* group) {
    float x = 0, y = 0, z = 0;
    while (!clear_of_centre(x, y, z)) {
        x = field_coordinate(half_size);
        y = field_coordinate(half_size);
        z = field_coordinate(half_size);
    }
    for (int s = 0; s < stars_per_group; ++s) {
        group[s] = {static_cast<float>(random_int(1360)), x, y, z};
    }
}

void pose_star(int index) {
    const star_pose& pose = star_poses[index];
    glRotatef(pose.turn, rotation_axis[0], rotation_axis[1], rotation_axis[2]);
    glTranslatef(pose.x, pose.y, pose.z);
    glScalef(star_scale, star_scale, star_scale);
}

clip_matrix star_matrix(int index) {
    const star_pose& pose = star_poses[index];
    clip_matrix m = identity_matrix();
    rotate(m, pose.turn, rotation_axis[0], rotation_axis[1], rotation_axis[2]);
    translate(m, pose.x, pose.y, pose.z);
    scale(m, star_scale, star_scale, star_scale);
    return m;
}

// The star list holds one star; each star's box is kept for the view test.
void place_star_fields() {
    for (int f = 0; f < field_count; ++f) {
        star_pose* field = star_poses + f * stars_per_field;
        for (int g = 0; g < groups_per_field; ++g) {
            place_star_group(field_half_size[f], field + g * stars_per_group);
        }
    }
    build_posed_copies(star, field_count * stars_per_field, star_matrix, star_box_margin, star_boxes);
}

}  // namespace

void tscene_en4::init() {
    load_geox(globe, "data\\earth.geox");
    load_geox(star, "data\\star.geox");
    load_environment_path(4);
    set_random_seed(star_seed);
    place_star_fields();
    compile_mesh_list(globe, draw_geox_textured);
}

void tscene_en4::render(int32_t time) {
    const float t = progress(time);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    follow_environment_path(4, time, t * t);
    apply_camera(current_camera);
    glEnable(GL_DEPTH_TEST);

    glPushMatrix();
    glTranslatef(0, 10, 0);
    glRotatef(90, 0, 1, 0);
    draw_walking_boy();
    glPopMatrix();
    work_checkpoint("earth.boy");

    apply_camera(current_camera);
    bind_named_texture("starfon");
    glColor4f(1, 1, 1, 1);
    glPushMatrix();
    glScalef(10, 10, 10);
    call_list_pushed(globe.list);
    glPopMatrix();
    work_checkpoint("earth.sky");

    glDepthFunc(GL_LEQUAL);

    apply_camera(current_camera);
    bind_named_texture("earth");
    glColor4f(1, 1, 1, 1);
    glPushMatrix();
    glRotatef(t * 270, 0, 0, 1);
    glRotatef(90, 0, 1, 0);
    glScalef(0.1f, 0.1f, 0.1f);
    call_list_pushed(globe.list);
    glDisable(GL_BLEND);
    glPopMatrix();
    work_checkpoint("earth.globe");

    for (int f = 0; f < field_count; ++f) {
        apply_camera(current_camera);
        glDepthMask(GL_FALSE);
        bind_named_texture(field_texture[f]);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        draw_copies_in_view(star.list, star_boxes, f * stars_per_field, stars_per_field, pose_star);
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
    }
    work_checkpoint("earth.stars");
    glDisable(GL_DEPTH_TEST);
}
