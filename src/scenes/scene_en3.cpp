// Environment 3: a city of textured blocks on white under a cloud of tiny
// black specks, the boy walking straight through it, a 30 % black veil.
#include "scenes/scene_en3.h"

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/qor_geox.h"
#include "engine/work_steps.h"
#include "frame/globals.h"
#include "frame/main_loop.h"
#include "scenes/camera_paths.h"
#include "scenes/environment_steps.h"

namespace {

constexpr int speck_count = 95001;
constexpr double speck_spread = 1500;
constexpr int64_t speck_height = 500;
constexpr uint32_t speck_size = 10;
constexpr float city_scale = 0.012f;

// Scene-kind data, rebuilt by every init.
TGeoxData blocks, tall_blocks;
// Three corners a speck, x y z each, as glVertex3d would hand them to the GL.
std::vector<float> speck_corners;

double unit_draw() { return random_int(100000) / 100000.0; }

// A corner's offset along one axis, 0 to just below the speck size.
double corner_offset() { return random_int(100000) * speck_size / 100000.0; }

// One speck: a triangle inside the 10-unit cube whose lowest corner is
// (x, y, z); each corner's three draws move z, then y, then x.
void place_speck_corners(float x, float y, float z) {
    for (int corner = 0; corner < 3; ++corner) {
        const double dz = corner_offset();
        const double dy = corner_offset();
        const double dx = corner_offset();
        speck_corners.push_back(static_cast<float>(x + dx));
        speck_corners.push_back(static_cast<float>(y + dy));
        speck_corners.push_back(static_cast<float>(z + dz));
    }
}

// The specks are drawn from a client array rather than a display list:
// compiling 285 003 corners into a list cost more start-up time than
// every frame's upload of the array costs, and the text scene's init
// would compile them a second time.
void place_specks() {
    speck_corners.clear();
    speck_corners.reserve(static_cast<size_t>(speck_count) * 9);
    for (int k = 0; k < speck_count; ++k) {
        const float x = static_cast<float>((0.5 - unit_draw()) * 2 * speck_spread);
        const float z = static_cast<float>((0.5 - unit_draw()) * 2 * speck_spread);
        // Two draws that place nothing; they still belong to the sequence.
        random_int(100000);
        random_int(100000);
        const float y = static_cast<float>(
            static_cast<double>(random_int(100000) * speck_height) / 100000);
        place_speck_corners(x, y, z);
    }
}

// Leaves the vertex array pointer at its initial value.
void draw_specks() {
    glVertexPointer(3, GL_FLOAT, 0, speck_corners.data());
    glEnableClientState(GL_VERTEX_ARRAY);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(speck_corners.size() / 3));
    end_mesh_arrays();
}

}  // namespace

void tscene_en3::init() {
    load_geox(blocks, "data\\kubes.geox");
    load_geox(tall_blocks, "data\\kubeshigh.geox");
    load_environment_path(3);
    place_specks();
}

void tscene_en3::render(int32_t time) {
    const float t = progress(time);
    glClearColor(1, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    follow_environment_path(3, time, t);
    apply_camera(current_camera);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);

    glPushMatrix();
    glTranslatef(0, 0, static_cast<float>((t - 0.5) * 15));
    draw_walking_boy();
    glPopMatrix();
    work_checkpoint("city.boy");

    apply_camera(current_camera);
    glPushMatrix();
    glScalef(city_scale, city_scale, city_scale);
    bind_named_texture("kubes");
    draw_geox_textured(blocks);
    bind_named_texture("kubeshigh");
    draw_geox_textured(tall_blocks);
    work_checkpoint("city.blocks");
    glDisable(GL_TEXTURE_2D);
    glColor4f(0, 0, 0, 1);
    draw_specks();
    work_checkpoint("city.specks");
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glPopMatrix();

    draw_screen_veil(0, 0, 0, 0.3f);
    work_checkpoint("city.veil");
    glLoadIdentity();
}
