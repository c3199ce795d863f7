// Environment 6: the festival logo as a sphere-mapped solid on black,
// turning once about the vertical axis in front of a fixed camera.
#include "scenes/scene_en6.h"

#include <GL/gl.h>

#include "assets/qor_geox.h"
#include "engine/render_targets.h"
#include "frame/globals.h"
#include "scenes/camera_paths.h"
#include "scenes/environment_steps.h"

namespace {

// Scene-kind data, rebuilt by every init.
TGeoxData logo;

}  // namespace

void tscene_en6::init() {
    load_geox(logo, "data\\qvlogo.geox");
    compute_face_normals(logo);
    compute_vertex_normals(logo);
    load_environment_path(6);
    compile_mesh_list(logo, draw_geox_normals);
}

void tscene_en6::render(int32_t time) {
    const float t = progress(time);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The camera stands at the path's first key for the whole scene.
    follow_environment_path(6, time, 0);
    apply_camera(current_camera);
    glEnable(GL_DEPTH_TEST);
    bind_named_texture("blik");
    set_sphere_map(true);
    glPushMatrix();
    glRotatef(t * 360, 0, 1, 0);
    glScalef(3, 3, 3);
    glCallList(logo.list);
    glPopMatrix();
    set_sphere_map(false);
    glDisable(GL_DEPTH_TEST);
}
