// Environment 4: a turning earth inside a star backdrop, three additive star
// fields around it and the boy walking on the spot above the origin.
#include "scenes/scene_en4.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdint>

#include "assets/qor_geox.h"
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

// Scene-kind data, rebuilt by every init.
TGeoxData globe, star;
uint32_t field_list[field_count];

float field_coordinate(float half_size) {
    return static_cast<float>((0.5 - random_int(100000) / 100000.0) * 2 * half_size);
}

bool clear_of_centre(float x, float y, float z) {
    return std::fabs(x) >= centre_clearance && std::fabs(y) >= centre_clearance &&
           std::fabs(z) >= centre_clearance;
}

void draw_star_group(float half_size) {
    float x = 0, y = 0, z = 0;
    while (!clear_of_centre(x, y, z)) {
        x = field_coordinate(half_size);
        y = field_coordinate(half_size);
        z = field_coordinate(half_size);
    }
    for (int s = 0; s < stars_per_group; ++s) {
        glPushMatrix();
        glRotatef(static_cast<float>(random_int(1360)), 1, 1.9f, 0.7f);
        glTranslatef(x, y, z);
        glScalef(star_scale, star_scale, star_scale);
        draw_geox_textured(star);
        glPopMatrix();
    }
}

void compile_star_fields() {
    for (int f = 0; f < field_count; ++f) {
        begin_list(field_list[f]);
        for (int g = 0; g < groups_per_field; ++g) draw_star_group(field_half_size[f]);
        glEndList();
    }
}

}  // namespace

void tscene_en4::init() {
    load_geox(globe, "data\\earth.geox");
    load_geox(star, "data\\star.geox");
    load_environment_path(4);
    set_random_seed(star_seed);
    compile_star_fields();
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

    apply_camera(current_camera);
    bind_named_texture("starfon");
    glColor4f(1, 1, 1, 1);
    glPushMatrix();
    glScalef(10, 10, 10);
    call_list_pushed(globe.list);
    glPopMatrix();

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

    for (int f = 0; f < field_count; ++f) {
        apply_camera(current_camera);
        glDepthMask(GL_FALSE);
        bind_named_texture(field_texture[f]);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        call_list_pushed(field_list[f]);
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
    }
    glDisable(GL_DEPTH_TEST);
}
