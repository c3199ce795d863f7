// Environment 2: a circular arena walled by a red and a white band, glowing
// grid floors and ceiling, spinning net discs and glow crosses, the boy, a
// veil that fades out over the first 40 % and the scene's own letterbox.
#include "scenes/scene_en2.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

#include "engine/view_volume.h"
#include "engine/work_steps.h"
#include "frame/globals.h"
#include "frame/main_loop.h"
#include "scenes/camera_paths.h"
#include "scenes/environment_steps.h"
#include "scenes/scene_steps.h"

namespace {

struct point3 {
    float x, y, z;
};

constexpr int cross_count = 1501;
constexpr int wall_segments = 10;
constexpr int net_disc_count = 10;
constexpr int grid_reach = 39;  // cells -39 ... 39 on each axis
constexpr float grid_pitch = 5;
constexpr float cross_half_size = 0.2f;
// Every corner of a cross lies within sqrt(2) half sizes of its centre
// whatever its turn; the margin is far above the float transform's rounding.
constexpr float cross_reach = 1.4142136f * cross_half_size + 0.01f;
constexpr float veil_end = 0.4f;

// Scene-kind data, rebuilt by every init.
point3 crosses[cross_count];
// Each cross's reach around its centre, for the view test.
view_bounds cross_boxes[cross_count];

void place_crosses() {
    for (int i = 0; i < cross_count; ++i) {
        const float a = static_cast<float>(random_int(100000) * 2 * std::numbers::pi / 100000);
        const float h = static_cast<float>(static_cast<double>(random_int(100000) * 5u) / 100000);
        const float r = static_cast<float>(static_cast<double>(random_int(100000) * 80u) / 100000);
        point3& c = crosses[i];
        c = {static_cast<float>(std::sin(a) * r), h, static_cast<float>(std::cos(a) * r)};
        view_bounds box = empty_bounds();
        widen(box, c.x, c.y, c.z);
        cross_boxes[i] = padded(box, cross_reach, 0);
    }
}

// One band quad of the wall between the angles of segments k and k + 1.
void wall_quad(int k, double radius, float bottom, float top) {
    const double a0 = 2 * std::numbers::pi * k / wall_segments;
    const double a1 = 2 * std::numbers::pi * (k + 1) / wall_segments;
    const float x0 = static_cast<float>(radius * std::sin(a0));
    const float z0 = static_cast<float>(radius * std::cos(a0));
    const float x1 = static_cast<float>(radius * std::sin(a1));
    const float z1 = static_cast<float>(radius * std::cos(a1));
    glVertex3f(x0, bottom, z0);
    glVertex3f(x0, top, z0);
    glVertex3f(x1, top, z1);
    glVertex3f(x1, bottom, z1);
}

void draw_wall() {
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    for (int k = 0; k < wall_segments; ++k) {
        glColor4f(1, 0, 0, 1);
        wall_quad(k, 100, -2, 7);
        glColor4f(1, 1, 1, 1);
        wall_quad(k, 90, 0, 5);
    }
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

// A textured square in a plane y = height, corners (x0, z0) ... (x1, z1).
void floor_quad(float x0, float z0, float x1, float z1, float height) {
    glTexCoord2f(0, 0);
    glVertex3f(x0, height, z0);
    glTexCoord2f(1, 0);
    glVertex3f(x1, height, z0);
    glTexCoord2f(1, 1);
    glVertex3f(x1, height, z1);
    glTexCoord2f(0, 1);
    glVertex3f(x0, height, z1);
}

void enable_additive() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
}

void draw_net_discs(float p) {
    bind_named_texture("net3");
    enable_additive();
    glDepthMask(GL_FALSE);
    for (int i = 0; i < net_disc_count; ++i) {
        glPushMatrix();
        glTranslatef(0, 5.0f * static_cast<float>(i - 5), 0);
        glScalef(3, 3, 3);
        glRotatef(220, 2, 1.3f, 1.9f);
        glRotatef(960 * p, 0, 1, 0);
        glBegin(GL_QUADS);
        floor_quad(-5, -5, 5, 5, 0);
        glEnd();
        glPopMatrix();
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

void draw_grid() {
    bind_named_texture("net1");
    enable_additive();
    glBegin(GL_QUADS);
    for (int i = -grid_reach; i <= grid_reach; ++i) {
        for (int j = -grid_reach; j <= grid_reach; ++j) {
            const float a = grid_pitch * static_cast<float>(i);
            const float b = grid_pitch * static_cast<float>(j);
            floor_quad(a - 5, b - 5, a + 5, b + 5, 0);
            floor_quad(a - 5, b - 5, a + 5, b + 5, 5);
        }
    }
    glEnd();
    glDisable(GL_BLEND);
}

void draw_ceiling() {
    bind_named_texture("net5");
    enable_additive();
    glBegin(GL_QUADS);
    floor_quad(-35, -35, 35, 35, 9);
    glEnd();
    glDisable(GL_BLEND);
}

void textured_corner(float s, float t, float x, float y, float z) {
    glTexCoord2f(s, t);
    glVertex3f(x, y, z);
}

// Three squares through the centre, one in each axis plane.
void draw_cross() {
    const float h = cross_half_size;
    glBegin(GL_QUADS);
    textured_corner(0, 0, -h, 0, -h);
    textured_corner(1, 0, h, 0, -h);
    textured_corner(1, 1, h, 0, h);
    textured_corner(0, 1, -h, 0, h);
    textured_corner(0, 0, -h, -h, 0);
    textured_corner(1, 0, h, -h, 0);
    textured_corner(1, 1, h, h, 0);
    textured_corner(0, 1, -h, h, 0);
    textured_corner(0, 0, 0, -h, -h);
    textured_corner(1, 0, 0, h, -h);
    textured_corner(1, 1, 0, h, h);
    textured_corner(0, 1, 0, -h, h);
    glEnd();
}

// Crosses wholly outside the view volume are skipped: they would make no
// fragment. The current texture coordinate they leave is read by nothing
// after them: the veil is untextured and the letterbox frame sets its own.
void draw_crosses(float p) {
    bind_named_texture("net2");
    enable_additive();
    const clip_matrix clip = current_clip_matrix(current_projection());
    for (int i = 0; i < cross_count; ++i) {
        if (outside_view(clip, cross_boxes[i])) continue;
        const double spin = 5.0 * p * 360;
        const double angle = (i % 2 == 0 ? spin : -spin) + i / 50.0;
        glPushMatrix();
        glTranslatef(crosses[i].x, crosses[i].y, crosses[i].z);
        glRotatef(static_cast<float>(angle), 1, 2, 3);
        draw_cross();
        glPopMatrix();
    }
    glDisable(GL_BLEND);
}

}  // namespace

void tscene_en2::init() {
    load_environment_path(2);
    place_crosses();
}

void tscene_en2::render(int32_t time) {
    const float p = progress(time);
    follow_environment_path(2, time, p);
    apply_camera(current_camera);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw_wall();
    draw_net_discs(p);
    work_checkpoint("arena.wall_and_discs");

    glPushMatrix();
    glTranslatef(0, 0, static_cast<float>((p - 0.4) * 7));
    draw_walking_boy();
    glPopMatrix();
    work_checkpoint("arena.boy");

    draw_grid();
    draw_ceiling();
    work_checkpoint("arena.grid_and_ceiling");
    draw_crosses(p);
    work_checkpoint("arena.crosses");
    if (p < veil_end) {
        const float d = static_cast<float>(1 - 2.5 * p);
        draw_screen_veil(d, static_cast<float>(0.35 * d * d), 2 * d, d);
    }
    draw_letterbox_frame();
}
