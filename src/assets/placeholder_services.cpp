// PLACEHOLDER: empty definitions so the tree links while the asset and
// rendering-service modules are written. Each module's author deletes its
// functions from here when the real module lands; this file then goes.
#include <cstdlib>

#include "assets/load_error.h"
#include "assets/qor_camera.h"
#include "assets/qor_geox.h"
#include "assets/qor_spline.h"
#include "assets/qor_textures.h"
#include "assets/scene_globaldata.h"
#include "engine/qor_font.h"
#include "engine/qor_views.h"
#include "engine/render_targets.h"
#include "frame/camera_editor.h"

void set_camera(camera_record& c, float ex, float ey, float ez, float tx, float ty, float tz,
                float ux, float uy, float uz) {
    c.eye_x = ex; c.eye_y = ey; c.eye_z = ez;
    c.target_x = tx; c.target_y = ty; c.target_z = tz;
    c.up_x = ux; c.up_y = uy; c.up_z = uz;
}
void apply_camera(const camera_record&) {}
void clear_camera_path(camera_path& path) { path.count = 0; }
void append_camera(const camera_record&, camera_path&) {}
void save_camera_path(const camera_path&, const char*) {}
void load_camera_path(camera_path&, const char*) {}
void camera_rise(camera_record&, float) {}
void camera_advance(camera_record&, float) {}
void camera_strafe(camera_record&, float) {}
void camera_turn(camera_record&, float, float, float) {}
float hermite(float a, float, float, float) { return a; }
void interpolate_camera(camera_record&, const camera_path&, float) {}
void clear_texture_table(texture_table_t& t) { t.count = 0; }
void register_texture(texture_table_t&, const char*, uint32_t) {}
uint32_t find_texture(const texture_table_t&, const char*) { return 0; }
uint32_t load_texture(const char*, int, int) { return 0; }
uint32_t load_texture_alpha(const char*, const char*, int, int) { return 0; }
uint32_t create_blank_texture(int32_t, int32_t) { return 0; }
void load_geox(TGeoxData&, const char*) {}
void draw_geox(const TGeoxData&, bool, bool, bool) {}
void draw_geox_normals(const TGeoxData&) {}
void draw_geox_textured(const TGeoxData&) {}
void compute_face_normals(TGeoxData&) {}
void compute_vertex_normals(TGeoxData&) {}
void fatal_load_error(const char*, const char*) { std::exit(1); }
texture_table_t texture_table;
TGeoxData sky_mesh;
void load_assets() {}
void draw_text(const char*, uint32_t, float, float, float, float, float, float, float, float,
               float) {}
void begin_overlay() {}
void end_overlay() {}
uint32_t screen_targets[screen_target_count];
uint32_t glow_source;
uint32_t glow_texture;
void create_render_targets() {}
void copy_screen(uint32_t) {}
void copy_glow_source() {}
void draw_target_256() {}
void draw_glow_source_128() {}
void blur_glow(int) {}
void draw_target_full() {}
void add_glow() {}
void blend_glow(float, float, float, float) {}
void set_sphere_map(bool) {}
float camera_speed = 0.01f;
void camera_editor_step() {}
void record_camera_view() {}
