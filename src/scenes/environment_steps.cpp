// Steps shared by the environment scenes and the two scenes that own them.
#include "scenes/environment_steps.h"

#include <GL/gl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assets/qor_geox.h"
#include "assets/scene_globaldata.h"
#include "engine/qor_scenes.h"
#include "engine/view_volume.h"
#include "platform/platform.h"
#include "scenes/scene_steps.h"

void prepare_environment(qor_genericscene*& slot, qor_genericscene* scene) {
    // A reload runs the inits again: the instance of the first init stays,
    // as scenes keep their data per kind, and the new one is freed.
    if (slot == nullptr) {
        slot = scene;
    } else {
        delete scene;
    }
    slot->starttime = 0;
    slot->endtime = environment_span_ms;
    slot->init();
}

void bind_named_texture(const char* name) {
    glBindTexture(GL_TEXTURE_2D, find_texture(texture_table, name));
}

void compile_mesh_list(TGeoxData& mesh, void (*draw)(const TGeoxData&)) {
    begin_list(mesh.list);
    draw(mesh);
    glEndList();
}

namespace {
std::vector<void (*)()> deferred_builds;
}

void defer_list_build(void (*build)()) {
    if (std::find(deferred_builds.begin(), deferred_builds.end(), build) == deferred_builds.end()) {
        deferred_builds.push_back(build);
    }
}

void build_deferred_lists() {
    for (void (*build)() : deferred_builds) build();
    deferred_builds.clear();
}

void call_list_pushed(uint32_t list) {
    glPushMatrix();
    glCallList(list);
    glPopMatrix();
}

void draw_sky_dome() {
    bind_named_texture("backsky1");
    glPushMatrix();
    glRotatef(90, 1, 0, 0);
    glScalef(1, 5, 1);
    glCallList(sky_mesh.list);
    glPopMatrix();
}

void build_posed_copies(TGeoxData& mesh, int count, clip_matrix (*pose_matrix)(int copy),
                        float margin, view_bounds* boxes) {
    compile_mesh_list(mesh, draw_geox_textured);
    const view_bounds mesh_box = mesh_bounds(mesh, 0);
    for (int i = 0; i < count; ++i) boxes[i] = transformed_bounds(mesh_box, pose_matrix(i), margin);
}

void draw_copies_in_view(uint32_t list, const view_bounds* boxes, int first, int count,
                         void (*pose)(int copy)) {
    const clip_matrix clip = current_clip_matrix(current_projection());
    for (int copy = first; copy < first + count; ++copy) {
        if (outside_view(clip, boxes[copy])) continue;
        glPushMatrix();
        pose(copy);
        glCallList(list);
        glPopMatrix();
    }
}

void draw_screen_veil(float red, float green, float blue, float alpha) {
    glDisable(GL_DEPTH_TEST);
    tint_screen(GL_ONE_MINUS_SRC_ALPHA, red, green, blue, alpha);
}

void draw_walking_boy() {
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GEQUAL, 0.5f);
    const uint32_t frame = (platform::tick_count() / 100) & 7;
    const std::string name = "boy" + std::to_string(frame);
    bind_named_texture(name.c_str());
    glBegin(GL_QUADS);
    for (int i = -7; i <= 7; ++i) {
        const float x = static_cast<float>(i) / 510.0f;
        glTexCoord2f(1, 1);
        glVertex3f(x, 0, -1);
        glTexCoord2f(1, 0);
        glVertex3f(x, 2, -1);
        glTexCoord2f(0, 0);
        glVertex3f(x, 2, 1);
        glTexCoord2f(0, 1);
        glVertex3f(x, 0, 1);
    }
    glEnd();
    glDisable(GL_ALPHA_TEST);
}
