// Environment 5: a tiled, rippling sea at height 5 reflecting the sky, the
// seabed, a ship with its sail, a shoal of reflective fish and the boy; below
// the surface fog, the seabed texture and the water's opacity change.
#include "scenes/scene_en5.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "assets/qor_camera.h"
#include "assets/qor_spline.h"
#include "assets/scene_globaldata.h"
#include "engine/render_targets.h"
#include "frame/globals.h"
#include "frame/main_loop.h"
#include "scenes/environment_steps.h"

namespace {

struct point3 {
    float x, y, z;
};

struct fish_course {
    point3 start;
    point3 end;
    float heading;  // degrees
};

constexpr int fish_count = 101;
constexpr float sea_level = 5;
constexpr int tile_reach = 3;  // tiles -3 ... 3 on each axis
constexpr float tile_pitch = 60;
constexpr float fish_scale = 1.0f / 3;
constexpr float fish_swim = 3.5f;  // the course length covered per unit of t
constexpr GLfloat fog_colour[4] = {0, 0.1f, 0.4f, 0};

// Scene-kind data, rebuilt by every init.
TGeoxData seabed, water, water_rest, ship, sail, fish;
camera_path path;
fish_course shoal[fish_count];

void compile_seabed() {
    seabed.list = glGenLists(1);
    glNewList(seabed.list, GL_COMPILE);
    glPushMatrix();
    glScalef(1, 1.2f, 1);
    draw_geox_textured(seabed);
    glPopMatrix();
    glEndList();
}

float spread(double span) { return static_cast<float>((0.5 - random_int(1000) / 1000.0) * span); }

void plan_shoal() {
    for (fish_course& f : shoal) {
        f.start.x = spread(40);
        f.start.y = spread(5);
        f.start.z = spread(40);
        f.heading = static_cast<float>(static_cast<double>(random_int(1000) * 360u) / 1000);
        const double heading_radians = 2 * std::numbers::pi * f.heading / 360;
        f.end.x = static_cast<float>(f.start.x + 20 * std::sin(heading_radians));
        f.end.y = f.start.y;
        f.end.z = static_cast<float>(f.start.z + 20 * std::cos(heading_radians));
    }
}

void fog_if(bool on) {
    if (on) glEnable(GL_FOG);
}

float swim(float from, float to, float t) {
    return static_cast<float>(from + (double{to} - from) * (t - 0.5) * fish_swim);
}

void draw_shoal(float t) {
    for (const fish_course& f : shoal) {
        glPushMatrix();
        glTranslatef(swim(f.start.x, f.end.x, t), f.start.y, swim(f.start.z, f.end.z, t));
        glRotatef(f.heading - 90, 0, 1, 0);
        glRotatef(-90, 1, 0, 0);
        glScalef(fish_scale, fish_scale, fish_scale);
        glCallList(fish.list);
        glPopMatrix();
    }
}

void rebuild_water(float t) {
    glDeleteLists(water.list, 1);
    shape_waves(water, water_rest, t);
    compute_face_normals(water);
    compute_vertex_normals(water);
    glDepthFunc(GL_LEQUAL);
    compile_mesh_list(water, [](const TGeoxData& mesh) { draw_geox(mesh, true, false, true); });
}

void draw_water_tiles() {
    for (int a = -tile_reach; a <= tile_reach; ++a) {
        for (int b = -tile_reach; b <= tile_reach; ++b) {
            glPushMatrix();
            glTranslatef(tile_pitch * static_cast<float>(a), sea_level, tile_pitch * static_cast<float>(b));
            glScalef(2, 1, 2);
            glCallList(water.list);
            glPopMatrix();
        }
    }
}

void enable_alpha_blend() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

}  // namespace

void shape_waves(TGeoxData& water_mesh, const TGeoxData& rest, float t) {
    const size_t n = std::min(water_mesh.vertices.size(), rest.vertices.size());
    const double phase = 100.0 * t;
    for (size_t i = 0; i < n; ++i) {
        const TGeoxVertex& r = rest.vertices[i];
        water_mesh.vertices[i].y = static_cast<float>(
            r.y + 0.2 * std::sin(phase + 2 * std::numbers::pi * r.x) *
                      std::sin(phase + 2 * std::numbers::pi * r.z));
    }
}

void tscene_en5::init() {
    load_geox(seabed, "data\\subgrass.geox");
    load_geox(water, "data\\water.geox");
    load_geox(water_rest, "data\\water.geox");
    load_geox(ship, "data\\ship.geox");
    load_geox(sail, "data\\parus.geox");
    load_geox(fish, "data\\fish.geox");
    compute_face_normals(fish);
    compute_vertex_normals(fish);
    load_camera_path(path, "data\\en5.camera");
    compile_seabed();
    plan_shoal();
    compile_mesh_list(fish, draw_geox_normals);
}

void tscene_en5::render(int32_t time) {
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 0);
    glFogf(GL_FOG_END, 30);
    glFogfv(GL_FOG_COLOR, fog_colour);
    const float t = progress(time);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    interpolate_camera(current_camera, path, t);
    const bool submerged = current_camera.eye_y < sea_level;
    apply_camera(current_camera);
    glEnable(GL_DEPTH_TEST);
    fog_if(submerged);

    glPushMatrix();
    glTranslatef(0, 0, static_cast<float>((t - 0.5) * 15));
    draw_walking_boy();
    glPopMatrix();
    glDisable(GL_FOG);

    draw_sky_dome();

    apply_camera(current_camera);
    glEnable(GL_FOG);
    bind_named_texture("fish");
    set_sphere_map(true);
    draw_shoal(t);
    set_sphere_map(false);
    glDisable(GL_FOG);

    apply_camera(current_camera);
    fog_if(submerged);
    bind_named_texture("ship");
    glPushMatrix();
    glRotatef(-90, 1, 0, 0);
    glScalef(0.1f, 0.1f, 0.1f);
    glTranslatef(0, 0, 45);
    draw_geox_textured(ship);
    glPopMatrix();
    glDisable(GL_FOG);

    apply_camera(current_camera);
    bind_named_texture("parus");
    glPushMatrix();
    glScalef(0.0625f, 0.1f, -1.0f / 22);
    glRotatef(70, 0, 1, 0);
    glTranslatef(-12, 65, -35);
    draw_geox_textured(sail);
    glPopMatrix();

    apply_camera(current_camera);
    fog_if(submerged);
    bind_named_texture(submerged ? "floor" : "subgrass");
    glCallList(seabed.list);
    glDisable(GL_FOG);

    apply_camera(current_camera);
    rebuild_water(t);

    apply_camera(current_camera);
    fog_if(submerged);
    bind_named_texture("water");
    enable_alpha_blend();
    glColor4f(1, 1, 1, submerged ? 0.5f : 0.95f);
    draw_water_tiles();
    glDisable(GL_BLEND);
    glDisable(GL_FOG);

    apply_camera(current_camera);
    bind_named_texture("backsky1");
    enable_alpha_blend();
    glColor4f(1, 1, 1, 0.5f);
    set_sphere_map(true);
    draw_water_tiles();
    set_sphere_map(false);
    glDisable(GL_BLEND);
    glDisable(GL_FOG);
    glDisable(GL_DEPTH_TEST);
}
