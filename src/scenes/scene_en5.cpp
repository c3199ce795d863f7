// Environment 5: a tiled, rippling sea at height 5 reflecting the sky, the
// seabed, a ship with its sail, a shoal of reflective fish and the boy; below
// the surface fog, the seabed texture and the water's opacity change. Fish,
// water tiles and runs of water faces wholly outside the view volume are not
// sent to the GL at all; they could not make a fragment.
#include "scenes/scene_en5.h"

#include <GL/gl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <vector>

#include "assets/scene_globaldata.h"
#include "engine/paired_work.h"
#include "engine/render_targets.h"
#include "engine/view_volume.h"
#include "engine/work_steps.h"
#include "frame/globals.h"
#include "frame/main_loop.h"
#include "scenes/camera_paths.h"
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
constexpr double wave_amplitude = 0.2;  // the most shape_waves moves a vertex
// Consecutive water faces tested against the view volume as one box.
constexpr size_t faces_per_run = 40;
// Widening of every culling box, in mesh units, so that the rounding of the
// GL's float transform can never bring a vertex of a skipped box into view.
constexpr float cull_margin = 0.5f;

struct water_run {
    view_bounds box;
    size_t first_index, index_count;  // into water_indices
};

// Scene-kind data, rebuilt by every init.
TGeoxData seabed, water, water_rest, ship, sail, fish;
fish_course shoal[fish_count];
view_bounds fish_box, water_box;
std::vector<GLuint> water_indices;  // three per face, in face order
std::vector<water_run> water_runs;
constexpr int tile_count = (2 * tile_reach + 1) * (2 * tile_reach + 1);
// What the two planning threads share: each tile's clip matrix, the
// window area that fragments may reach, the next tile to take.
clip_matrix tile_clips[tile_count];
window_area planned_area;
std::atomic<int> next_tile_to_plan;

// Each planning thread's own: the indices of the faces that may make a
// fragment, tile after tile as it takes them (a list that grows only on
// that thread), and the water's corners in window coordinates under its
// tile. A cache line of its own, so that the two threads' appends do not
// keep taking the line from each other.
struct alignas(64) planning_thread {
    std::vector<GLuint> indices;
    window_projection window;
};
planning_thread planners[2];
// The most faces' indices one frame has planned: either thread's list has
// room for them all, so that the share either takes never makes it grow.
size_t most_planned = 0;

// A tile's planned faces: a stretch of one thread's list.
struct tile_faces {
    int part;
    size_t first, count;  // indices
};
tile_faces tile_plans[tile_count];

// The face indices in face order and, per run of consecutive faces, the rest
// bounds of its corners widened by the wave amplitude; water_box holds them all.
void plan_water_runs() {
    water_indices.clear();
    water_runs.clear();
    water_box = empty_bounds();
    for (size_t first = 0; first < water_rest.faces.size(); first += faces_per_run) {
        const size_t end = std::min(first + faces_per_run, water_rest.faces.size());
        view_bounds box = empty_bounds();
        for (size_t f = first; f < end; ++f) {
            const TGeoxFace& face = water_rest.faces[f];
            for (int32_t index : {face.i0, face.i1, face.i2}) {
                const TGeoxVertex& v = water_rest.vertices[static_cast<size_t>(index)];
                widen(box, v.x, v.y, v.z);
                water_indices.push_back(static_cast<GLuint>(index));
            }
        }
        water_runs.push_back(
            {padded(box, cull_margin, static_cast<float>(wave_amplitude)), 3 * first, 3 * (end - first)});
        widen(water_box, water_runs.back().box);
    }
}

void compile_seabed() {
    begin_list(seabed.list);
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

// Fish wholly outside the view volume are skipped: they would make no
// fragment. The current normal a fish leaves is read by nothing before the
// water, which sets its own normals and leaves the final one.
void draw_shoal(float t) {
    const clip_matrix projection = current_projection();
    for (const fish_course& f : shoal) {
        glPushMatrix();
        glTranslatef(swim(f.start.x, f.end.x, t), f.start.y, swim(f.start.z, f.end.z, t));
        glRotatef(f.heading - 90, 0, 1, 0);
        glRotatef(-90, 1, 0, 0);
        glScalef(fish_scale, fish_scale, fish_scale);
        if (!outside_view(current_clip_matrix(projection), fish_box)) glCallList(fish.list);
        glPopMatrix();
    }
}

void rebuild_water(float t) {
    shape_waves(water, water_rest, t);
    compute_face_normals(water);
    compute_vertex_normals(water);
    glDepthFunc(GL_LEQUAL);
}

void place_tile(int a, int b) {
    glTranslatef(tile_pitch * static_cast<float>(a), sea_level, tile_pitch * static_cast<float>(b));
    glScalef(2, 1, 2);
}

// Plans tiles until none is left, one planning thread's part.
void plan_tiles(int part) {
    window_projection& window = planners[part].window;
    std::vector<GLuint>& indices = planners[part].indices;
    for (int tile; (tile = next_tile_to_plan.fetch_add(1)) < tile_count;) {
        const size_t start = indices.size();
        const clip_matrix& clip = tile_clips[tile];
        if (!outside_view(clip, water_box)) {
            project_to_window(clip, water.vertices, planned_area, window);
            for (const water_run& run : water_runs) {
                if (outside_view(clip, run.box)) continue;
                const GLuint* first = water_indices.data() + run.first_index;
                keep_faces_that_may_cover(window, first, first + run.index_count, indices);
            }
        }
        tile_plans[tile] = {part, start, indices.size() - start};
    }
}

// Under the current camera, collects per tile the faces that may make a
// fragment, keeping the face order: runs of faces whose box lies outside
// the view volume go whole, and of the rest every face whose corners all lie
// between pixel centres (most of the distant sea, smaller than a pixel).
// Two threads share the tiles: nothing of this frame has reached the
// rasterizer threads yet, so the second processor is free. Each tile's faces
// come out the same whichever thread plans it.
void plan_water_tiles() {
    const clip_matrix projection = current_projection();
    clip_matrix* clip = tile_clips;
    for (int a = -tile_reach; a <= tile_reach; ++a) {
        for (int b = -tile_reach; b <= tile_reach; ++b, ++clip) {
            glPushMatrix();
            place_tile(a, b);
            *clip = current_clip_matrix(projection);
            glPopMatrix();
        }
    }
    planned_area = current_window_area();
    for (planning_thread& planner : planners) {
        planner.indices.clear();
        planner.indices.reserve(most_planned);
    }
    next_tile_to_plan = 0;
    run_in_pair(plan_tiles);
    most_planned = std::max(most_planned, planners[0].indices.size() + planners[1].indices.size());
}

// The planned faces of every tile from client arrays over the reshaped mesh:
// the same corners, texture coordinates and vertex normals, in the same order.
void draw_water_tiles() {
    begin_mesh_arrays(water, true, true);
    const tile_faces* plan = tile_plans;
    for (int a = -tile_reach; a <= tile_reach; ++a) {
        for (int b = -tile_reach; b <= tile_reach; ++b, ++plan) {
            if (plan->count == 0) continue;
            glPushMatrix();
            place_tile(a, b);
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(plan->count), GL_UNSIGNED_INT,
                           planners[plan->part].indices.data() + plan->first);
            glPopMatrix();
        }
    }
    end_mesh_arrays();
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
            r.y + wave_amplitude * std::sin(phase + 2 * std::numbers::pi * r.x) *
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
    fish_box = mesh_bounds(fish, cull_margin);
    plan_water_runs();
    load_environment_path(5);
    compile_seabed();
    plan_shoal();
    compile_mesh_list(fish, draw_geox_normals);
    compile_mesh_list(ship, draw_geox_textured);
    compile_mesh_list(sail, draw_geox_textured);
}

void tscene_en5::render(int32_t time) {
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 0);
    glFogf(GL_FOG_END, 30);
    glFogfv(GL_FOG_COLOR, fog_colour);
    const float t = progress(time);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    follow_environment_path(5, time, t);
    const bool submerged = current_camera.eye_y < sea_level;
    apply_camera(current_camera);
    glEnable(GL_DEPTH_TEST);
    fog_if(submerged);

    glPushMatrix();
    glTranslatef(0, 0, static_cast<float>((t - 0.5) * 15));
    draw_walking_boy();
    glPopMatrix();
    glDisable(GL_FOG);
    work_checkpoint("sea.boy");

    draw_sky_dome();
    work_checkpoint("sea.sky");

    apply_camera(current_camera);
    glEnable(GL_FOG);
    bind_named_texture("fish");
    set_sphere_map(true);
    draw_shoal(t);
    set_sphere_map(false);
    glDisable(GL_FOG);
    work_checkpoint("sea.fish");

    apply_camera(current_camera);
    fog_if(submerged);
    bind_named_texture("ship");
    glPushMatrix();
    glRotatef(-90, 1, 0, 0);
    glScalef(0.1f, 0.1f, 0.1f);
    glTranslatef(0, 0, 45);
    glCallList(ship.list);
    glPopMatrix();
    glDisable(GL_FOG);

    apply_camera(current_camera);
    bind_named_texture("parus");
    glPushMatrix();
    glScalef(0.0625f, 0.1f, -1.0f / 22);
    glRotatef(70, 0, 1, 0);
    glTranslatef(-12, 65, -35);
    glCallList(sail.list);
    glPopMatrix();
    work_checkpoint("sea.ship");

    apply_camera(current_camera);
    fog_if(submerged);
    bind_named_texture(submerged ? "floor" : "subgrass");
    glCallList(seabed.list);
    glDisable(GL_FOG);
    work_checkpoint("sea.seabed");

    apply_camera(current_camera);
    rebuild_water(t);
    work_checkpoint("sea.waves");

    apply_camera(current_camera);
    fog_if(submerged);
    bind_named_texture("water");
    enable_alpha_blend();
    glColor4f(1, 1, 1, submerged ? 0.5f : 0.95f);
    plan_water_tiles();
    work_checkpoint("sea.face_choice");
    draw_water_tiles();
    work_checkpoint("sea.water");
    glDisable(GL_BLEND);
    glDisable(GL_FOG);

    apply_camera(current_camera);
    bind_named_texture("backsky1");
    enable_alpha_blend();
    glColor4f(1, 1, 1, 0.5f);
    set_sphere_map(true);
    // The same camera as the first pass, so the same faces reach the view.
    draw_water_tiles();
    work_checkpoint("sea.reflection");
    set_sphere_map(false);
    // The current normal and texture coordinates for what follows.
    leave_last_corner_state(water, true, true);
    glDisable(GL_BLEND);
    glDisable(GL_FOG);
    glDisable(GL_DEPTH_TEST);
}
