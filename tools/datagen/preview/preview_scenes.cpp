// The scenes' draw steps replayed on the software pipeline.
#include "preview_scenes.h"

#include <cmath>
#include <utility>

#include "../procgen.h"

namespace {

const Texture& tex(const PreviewData& d, const std::string& name) { return d.textures.at(name); }
const std::vector<Corner>& mesh(const PreviewData& d, const std::string& name) { return d.meshes.at(name); }

void apply_camera(SoftGl& gl, const CameraRecord& c) {
    perspective(gl, c.fov, 1.33333333333, 0.1, 99999);
    look_at(gl, c.eye, c.target, c.up);
}

Corner corner(float x, float y, float z, float u, float v) { return {{x, y, z}, u, v, {0, 0, 0}}; }

void boy(SoftGl& gl, const PreviewData& d, float t) {
    gl.blend = Blend::none;
    gl.tint = {1, 1, 1, 1};
    gl.alpha_test = AlphaTest::gequal;
    gl.alpha_ref = 0.5f;
    gl.texture = &tex(d, "boy" + std::to_string(static_cast<int>(t * 1000) & 7));
    for (int i = -7; i <= 7; i += 7) {
        const float x = static_cast<float>(i) / 510;
        draw_quad(gl, corner(x, 0, -1, 1, 1), corner(x, 2, -1, 1, 0), corner(x, 2, 1, 0, 0), corner(x, 0, 1, 0, 1));
    }
    gl.alpha_test = AlphaTest::off;
}

void square(SoftGl& gl, float h, float y_plane, bool horizontal, float z) {
    if (horizontal)
        draw_quad(gl, corner(-h, y_plane, -h, 0, 0), corner(h, y_plane, -h, 1, 0), corner(h, y_plane, h, 1, 1), corner(-h, y_plane, h, 0, 1));
    else
        draw_quad(gl, corner(-h, -h, z, 0, 0), corner(h, -h, z, 1, 0), corner(h, h, z, 1, 1), corner(-h, h, z, 0, 1));
}

void veil(SoftGl& gl, std::array<float, 3> colour, float alpha) {
    for (auto& px : gl.colour)
        for (size_t i = 0; i < 3; ++i) px[i] = px[i] * (1 - alpha) + std::fmin(colour[i], 1.0f) * alpha;
}

void sky_layers(SoftGl& gl, const PreviewData& d, float p) {
    perspective(gl, 70, 1.33333333333, 0.1, 99999);
    look_at(gl, {0, 0, 0}, {0, 0, -1}, {0, 1, 0});
    gl.blend = Blend::alpha_add;
    multiply(gl, scaling(1.5, 1.5, 1));
    const float turn[5] = {185, -115, 80, -95, 2};
    for (int i = 0; i < 5; ++i) {
        push(gl);
        multiply(gl, rotation(p * turn[i] / 5, 0, 0, 1));
        gl.tint = {1, 1, 1, 0.2f};
        gl.texture = &tex(d, "sky" + std::to_string(i + 1));
        square(gl, 100, 0, false, -100);
        pop(gl);
    }
    gl.blend = Blend::none;
}

void meadow(SoftGl& gl, const PreviewData& d, float t) {
    clear(gl, {0, 0, 0.3f});
    const CameraRecord cam = interpolate_camera(d.paths.at("en1"), t);
    apply_camera(gl, cam);
    gl.depth_test = true;
    push(gl);
    multiply(gl, translation(0, 0, 15 * (t - 1)));
    boy(gl, d, t);
    pop(gl);
    gl.texture = &tex(d, "backsky1");
    push(gl);
    multiply(gl, rotation(90, 1, 0, 0) * scaling(1, 5, 1));
    draw_triangles(gl, mesh(d, "sky"));
    pop(gl);
    Rng rng = make_rng(77);
    gl.alpha_test = AlphaTest::greater;
    gl.alpha_ref = 0.5f;
    gl.texture = &tex(d, "grass");
    const float r = 35.0f / 3;
    for (int i = 0; i < 9001; ++i) {
        float x, z;
        do {
            x = (uniform(rng) - 0.5f) * 2 * r;
            z = (uniform(rng) - 0.5f) * 2 * r;
        } while (std::sqrt(x * x + z * z) >= r);
        push(gl);
        const float k = uniform(rng) * 0.6f;
        multiply(gl, translation(x, 0, z) * rotation(uniform(rng) * 360, 0, 1, 0) * scaling(1, 1 + uniform(rng) * k, 1) *
                         scaling(1.0 / 30, 1.0 / 30, 1.0 / 30));
        draw_triangles(gl, mesh(d, "grass"));
        pop(gl);
    }
    for (const char* part : {"flowerhead", "flowerleg"}) {
        Rng flowers = make_rng(78);
        gl.texture = &tex(d, part);
        gl.alpha_test = std::string(part) == "flowerhead" ? AlphaTest::greater : AlphaTest::off;
        for (int i = 0; i < 201; ++i) {
            const float a = uniform(flowers) * 6.2831853f, dist = uniform(flowers) * 20, rot = uniform(flowers) * 360;
            const float v = uniform(flowers) * uniform(flowers) * 0.6f;
            push(gl);
            multiply(gl, translation(std::sin(a) * dist, 0, std::cos(a) * dist) * rotation(rot, 0, 1, 0) * scaling(1, 1 + v, 1) *
                             scaling(0.0012048193, 0.0012048193, 0.0012048193));
            draw_triangles(gl, mesh(d, part));
            pop(gl);
        }
    }
    // Wings: blend the two poses in z, odd butterflies mirrored.
    const float m = (std::sin(320 * t) + 1) / 2;
    std::vector<Corner> wing_a = mesh(d, "bfly1"), wing_b = wing_a;
    const auto& down = mesh(d, "bfly2");
    for (size_t j = 0; j < wing_a.size(); ++j) {
        wing_a[j].p.z = wing_a[j].p.z * m + (1 - m) * down[j].p.z;
        wing_b[j].p.z = -wing_a[j].p.z;
    }
    gl.alpha_test = AlphaTest::greater;
    gl.texture = &tex(d, "bfly");
    Rng flies = make_rng(79);
    for (int i = 0; i < 101; ++i) {
        const float sx = (0.5f - uniform(flies)) * 1130, sz = (0.5f - uniform(flies)) * 1130;
        const float ex = (0.5f - uniform(flies)) * 300 + sx, ey = (0.5f - uniform(flies)) * 500, ez = (0.5f - uniform(flies)) * 300 + sz;
        push(gl);
        multiply(gl, scaling(0.0241, 0.0241, 0.0241) * translation(sx + t * (ex - sx), t * ey, sz + t * (ez - sz)) *
                         rotation(5.0 * i + 900 * t, 0, 1, 0) * rotation(45, 1, 0, 0));
        draw_triangles(gl, i % 2 ? wing_b : wing_a);
        pop(gl);
    }
    gl.alpha_test = AlphaTest::off;
    gl.texture = &tex(d, "subgrass");
    draw_triangles(gl, mesh(d, "subgrass"));
    gl.depth_test = false;
}

void arena(SoftGl& gl, const PreviewData& d, float p) {
    apply_camera(gl, interpolate_camera(d.paths.at("en2"), p));
    clear(gl, {0, 0, 0});
    gl.texture = nullptr;
    for (int k = 0; k < 10; ++k) {
        const float a0 = 6.2831853f * static_cast<float>(k) / 10, a1 = 6.2831853f * static_cast<float>(k + 1) / 10;
        auto band = [&](float r, float y0, float y1) {
            draw_quad(gl, corner(r * std::sin(a0), y0, r * std::cos(a0), 0, 0), corner(r * std::sin(a0), y1, r * std::cos(a0), 0, 0),
                      corner(r * std::sin(a1), y1, r * std::cos(a1), 0, 0), corner(r * std::sin(a1), y0, r * std::cos(a1), 0, 0));
        };
        gl.tint = {1, 0, 0, 1};
        band(100, -2, 7);
        gl.tint = {1, 1, 1, 1};
        band(90, 0, 5);
    }
    gl.texture = &tex(d, "net3");
    gl.blend = Blend::add;
    for (int i = 0; i < 10; ++i) {
        push(gl);
        multiply(gl, translation(0, 5.0 * (i - 5), 0) * scaling(3, 3, 3) * rotation(220, 2, 1.3, 1.9) * rotation(960 * p, 0, 1, 0));
        square(gl, 5, 0, true, 0);
        pop(gl);
    }
    push(gl);
    multiply(gl, translation(0, 0, (p - 0.4) * 7));
    boy(gl, d, p);
    pop(gl);
    gl.blend = Blend::add;
    gl.texture = &tex(d, "net1");
    for (int i = -39; i <= 39; ++i)
        for (int j = -39; j <= 39; ++j)
            for (float y : {0.0f, 5.0f}) {
                const float a = 5.0f * i, b = 5.0f * j;
                draw_quad(gl, corner(a - 5, y, b - 5, 0, 0), corner(a + 5, y, b - 5, 1, 0), corner(a + 5, y, b + 5, 1, 1), corner(a - 5, y, b + 5, 0, 1));
            }
    gl.texture = &tex(d, "net5");
    square(gl, 35, 9, true, 0);
    gl.texture = &tex(d, "net2");
    Rng rng = make_rng(80);
    for (int i = 0; i < 1501; ++i) {
        const float a = uniform(rng) * 6.2831853f, h = uniform(rng) * 5, r = uniform(rng) * 80;
        push(gl);
        multiply(gl, translation(std::sin(a) * r, h, std::cos(a) * r) *
                         rotation((i % 2 ? -1 : 1) * 5 * p * 360 + i / 50.0, 1, 2, 3));
        const float s = 0.2f;
        draw_quad(gl, corner(-s, 0, -s, 0, 0), corner(s, 0, -s, 1, 0), corner(s, 0, s, 1, 1), corner(-s, 0, s, 0, 1));
        draw_quad(gl, corner(-s, -s, 0, 0, 0), corner(s, -s, 0, 1, 0), corner(s, s, 0, 1, 1), corner(-s, s, 0, 0, 1));
        draw_quad(gl, corner(0, -s, -s, 0, 0), corner(0, s, -s, 1, 0), corner(0, s, s, 1, 1), corner(0, -s, s, 0, 1));
        pop(gl);
    }
    gl.blend = Blend::none;
    if (p < 0.4f) {
        const float v = 1 - 2.5f * p;
        veil(gl, {v, 0.35f * v * v, 2 * v}, v);
    }
}

void city(SoftGl& gl, const PreviewData& d, float t) {
    clear(gl, {1, 1, 1});
    apply_camera(gl, interpolate_camera(d.paths.at("en3"), t));
    gl.depth_test = true;
    push(gl);
    multiply(gl, translation(0, 0, (t - 0.5) * 15));
    boy(gl, d, t);
    pop(gl);
    push(gl);
    multiply(gl, scaling(0.012, 0.012, 0.012));
    gl.texture = &tex(d, "kubes");
    draw_triangles(gl, mesh(d, "kubes"));
    gl.texture = &tex(d, "kubeshigh");
    draw_triangles(gl, mesh(d, "kubeshigh"));
    gl.texture = nullptr;
    gl.tint = {0, 0, 0, 1};
    Rng rng = make_rng(81);
    std::vector<Corner> specks;
    for (int k = 0; k < 95001; ++k) {
        const float x = (0.5f - uniform(rng)) * 3000, z = (0.5f - uniform(rng)) * 3000, y = uniform(rng) * 500;
        for (int c = 0; c < 3; ++c) specks.push_back(corner(x + uniform(rng) * 10, y + uniform(rng) * 10, z + uniform(rng) * 10, 0, 0));
    }
    draw_triangles(gl, specks);
    gl.tint = {1, 1, 1, 1};
    pop(gl);
    gl.depth_test = false;
    veil(gl, {0, 0, 0}, 0.3f);
}

void earth(SoftGl& gl, const PreviewData& d, float t) {
    clear(gl, {0, 0, 0});
    apply_camera(gl, interpolate_camera(d.paths.at("en4"), t * t));
    gl.depth_test = true;
    push(gl);
    multiply(gl, translation(0, 10, 0) * rotation(90, 0, 1, 0));
    boy(gl, d, t);
    pop(gl);
    gl.texture = &tex(d, "starfon");
    push(gl);
    multiply(gl, scaling(10, 10, 10));
    draw_triangles(gl, mesh(d, "earth"));
    pop(gl);
    gl.lequal = true;
    gl.texture = &tex(d, "earth");
    push(gl);
    multiply(gl, rotation(t * 270, 0, 0, 1) * rotation(90, 0, 1, 0) * scaling(0.1, 0.1, 0.1));
    draw_triangles(gl, mesh(d, "earth"));
    pop(gl);
    Rng rng = make_rng(8124751);
    gl.depth_write = false;
    gl.blend = Blend::add;
    for (int field = 0; field < 3; ++field) {
        const float half = 200.0f + 75.0f * field;
        gl.texture = &tex(d, "star" + std::to_string(field + 1));
        for (int g = 0; g < 334; ++g) {
            float x = 0, y = 0, z = 0;
            while (!(std::fabs(x) >= 10 && std::fabs(y) >= 10 && std::fabs(z) >= 10)) {
                x = (0.5f - uniform(rng)) * 2 * half;
                y = (0.5f - uniform(rng)) * 2 * half;
                z = (0.5f - uniform(rng)) * 2 * half;
            }
            for (int s = 0; s < 7; ++s) {
                push(gl);
                multiply(gl, rotation(below(rng, 1360), 1, 1.9, 0.7) * translation(x, y, z) * scaling(0.1, 0.1, 0.1));
                draw_triangles(gl, mesh(d, "star"));
                pop(gl);
            }
        }
    }
    gl.blend = Blend::none;
    gl.depth_write = true;
    gl.depth_test = false;
    gl.lequal = false;
}

std::vector<Corner> waves(const std::vector<Corner>& rest, float t) {
    // Heights from the rest tile, then the normals recomputed as the scene
    // does: face normals averaged over the faces that share a vertex.
    std::vector<Corner> out = rest;
    for (Corner& c : out)
        c.p.y = c.p.y + 0.2f * static_cast<float>(std::sin(100.0 * t + 6.283185307 * c.p.x) * std::sin(100.0 * t + 6.283185307 * c.p.z));
    std::map<std::pair<long, long>, Vec3> sums;
    auto key = [](const Corner& c) { return std::pair<long, long>{std::lround(c.p.x * 64), std::lround(c.p.z * 64)}; };
    for (size_t i = 0; i + 2 < out.size(); i += 3) {
        Vec3 n = cross(out[i + 2].p - out[i + 1].p, out[i].p - out[i + 2].p);
        n = n * (1 / std::fmax(length(n), 1e-12f));
        for (size_t k = 0; k < 3; ++k) sums[key(out[i + k])] = sums[key(out[i + k])] + n;
    }
    for (Corner& c : out) c.n = normalised(sums[key(c)]);
    return out;
}

void sea(SoftGl& gl, const PreviewData& d, float t) {
    clear(gl, {0, 0, 0});
    const CameraRecord cam = interpolate_camera(d.paths.at("en5"), t);
    const bool submerged = cam.eye.y < 5;
    apply_camera(gl, cam);
    gl.fog_start = 0;
    gl.fog_end = 30;
    gl.fog_colour = {0, 0.1f, 0.4f};
    gl.depth_test = true;
    gl.fog = submerged;
    push(gl);
    multiply(gl, translation(0, 0, (t - 0.5) * 15));
    boy(gl, d, t);
    pop(gl);
    gl.fog = false;
    gl.texture = &tex(d, "backsky1");
    push(gl);
    multiply(gl, rotation(90, 1, 0, 0) * scaling(1, 5, 1));
    draw_triangles(gl, mesh(d, "sky"));
    pop(gl);
    gl.fog = true;
    gl.texture = &tex(d, "fish");
    gl.sphere_map = true;
    Rng rng = make_rng(82);
    for (int i = 0; i < 101; ++i) {
        const float sx = (0.5f - uniform(rng)) * 40, sy = (0.5f - uniform(rng)) * 5, sz = (0.5f - uniform(rng)) * 40;
        const float h = static_cast<float>(below(rng, 1000) * 360 / 1000);
        const float ex = sx + 20 * std::sin(h * 6.2831853f / 360), ez = sz + 20 * std::cos(h * 6.2831853f / 360);
        push(gl);
        multiply(gl, translation(sx + (ex - sx) * (t - 0.5) * 3.5, sy, sz + (ez - sz) * (t - 0.5) * 3.5) * rotation(h - 90, 0, 1, 0) *
                         rotation(-90, 1, 0, 0) * scaling(1.0 / 3, 1.0 / 3, 1.0 / 3));
        draw_triangles(gl, mesh(d, "fish"));
        pop(gl);
    }
    gl.sphere_map = false;
    gl.fog = submerged;
    gl.texture = &tex(d, "ship");
    push(gl);
    multiply(gl, rotation(-90, 1, 0, 0) * scaling(0.1, 0.1, 0.1) * translation(0, 0, 45));
    draw_triangles(gl, mesh(d, "ship"));
    pop(gl);
    gl.fog = false;
    gl.texture = &tex(d, "parus");
    push(gl);
    multiply(gl, scaling(0.0625, 0.1, -1.0 / 22) * rotation(70, 0, 1, 0) * translation(-12, 65, -35));
    draw_triangles(gl, mesh(d, "parus"));
    pop(gl);
    gl.fog = submerged;
    gl.texture = &tex(d, submerged ? "floor" : "subgrass");
    push(gl);
    multiply(gl, scaling(1, 1.2, 1));
    draw_triangles(gl, mesh(d, "subgrass"));
    pop(gl);
    const std::vector<Corner> water = waves(mesh(d, "water"), t);
    gl.lequal = true;
    for (int pass = 0; pass < 2; ++pass) {
        gl.fog = pass == 0 && submerged;
        gl.texture = &tex(d, pass ? "backsky1" : "water");
        gl.blend = Blend::alpha;
        gl.tint = {1, 1, 1, pass ? 0.5f : (submerged ? 0.5f : 0.95f)};
        gl.sphere_map = pass == 1;
        for (int a = -3; a <= 3; ++a)
            for (int b = -3; b <= 3; ++b) {
                push(gl);
                multiply(gl, translation(60.0 * a, 5, 60.0 * b) * scaling(2, 1, 2));
                draw_triangles(gl, water);
                pop(gl);
            }
    }
    gl.sphere_map = false;
    gl.blend = Blend::none;
    gl.fog = false;
    gl.depth_test = false;
    gl.lequal = false;
    gl.tint = {1, 1, 1, 1};
}

void logo(SoftGl& gl, const PreviewData& d, float t) {
    clear(gl, {0, 0, 0});
    apply_camera(gl, interpolate_camera(d.paths.at("en6"), 0));
    gl.depth_test = true;
    gl.texture = &tex(d, "blik");
    gl.sphere_map = true;
    push(gl);
    multiply(gl, rotation(t * 360, 0, 1, 0) * scaling(3, 3, 3));
    draw_triangles(gl, mesh(d, "qvlogo"));
    pop(gl);
    gl.sphere_map = false;
    gl.depth_test = false;
}

}  // namespace

PreviewData load_preview_data(const std::string& dir) {
    PreviewData d;
    d.dir = dir;
    for (const char* name : {"sky1", "sky2", "sky3", "sky4", "sky5", "net1", "net2", "net3", "net4", "net5", "subgrass",
                             "flowerleg", "floor", "water", "backsky1", "kubes", "kubeshigh", "ship", "qvlogo", "earth",
                             "star1", "star2", "star3", "starfon", "blik", "fish", "parus"})
        d.textures[name] = load_texture(dir, name);
    for (const char* name : {"font", "grass", "flowerhead", "bfly"})
        d.textures[name] = load_texture_alpha(dir, name, std::string(name) + "_alpha");
    // The catalogue's textures with GL_LINEAR minification sample level 0 only.
    for (const char* name : {"font", "sky1", "sky2", "sky3", "sky4", "sky5", "subgrass", "backsky1", "qvlogo", "starfon"})
        d.textures[name].mipmapped = false;
    for (int k = 0; k < 8; ++k) {
        Texture boy_frame = load_texture_alpha(dir, "bo_" + std::to_string(k + 1), "boalpha_" + std::to_string(k + 1));
        boy_frame.nearest = true;
        d.textures["boy" + std::to_string(k)] = std::move(boy_frame);
    }
    for (const char* name : {"sky", "grass", "subgrass", "flowerhead", "flowerleg", "bfly1", "bfly2", "kubes", "kubeshigh",
                             "earth", "star", "water", "ship", "parus", "fish", "qvlogo"})
        d.meshes[name] = load_geox(dir, name);
    for (int k = 1; k <= 6; ++k) d.paths["en" + std::to_string(k)] = load_camera(dir, "en" + std::to_string(k));
    return d;
}

void render_scene(SoftGl& gl, const PreviewData& data, const std::string& scene, float t) {
    gl.tint = {1, 1, 1, 1};
    if (scene == "intro") {
        clear(gl, {0, 0, 0});
        sky_layers(gl, data, t);
    }
    if (scene == "en1") meadow(gl, data, t);
    if (scene == "en2") arena(gl, data, t);
    if (scene == "en3") city(gl, data, t);
    if (scene == "en4") earth(gl, data, t);
    if (scene == "en5") sea(gl, data, t);
    if (scene == "en6") logo(gl, data, t);
}
