// datagen_preview DATA OUT [scene ...]: contact sheets of the generated data
// folder for judging the artwork: OUT/textures.png (every picture, alpha
// cut-outs over a checkerboard), OUT/meshes.png (every mesh from three
// sides), OUT/texts.png (the show's lines in the bitmap font) and OUT/<scene>.png (six moments of each scene, rendered with the
// scene's own steps on a software pipeline).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "preview_scenes.h"

namespace {

using Pixel = std::array<float, 3>;

struct Sheet {
    int width, height;
    std::vector<Pixel> px;
};

Sheet make_sheet(int width, int height) { return {width, height, std::vector<Pixel>(static_cast<size_t>(width) * height, Pixel{0.2f, 0.2f, 0.2f})}; }

// Box-filtered copy of a texture into a cell, alpha over a checkerboard.
void put_texture(Sheet& sheet, const Texture& texture, int x0, int y0, int box) {
    const auto& level = texture.levels[0];
    const float scale = static_cast<float>(box) / static_cast<float>(std::max(level.width, level.height));
    const int w = static_cast<int>(level.width * scale), h = static_cast<int>(level.height * scale);
    const int step = std::max(1, static_cast<int>(1 / scale));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgba sum = {0, 0, 0, 0};
            int n = 0;
            for (int j = 0; j < step; ++j)
                for (int i = 0; i < step; ++i) {
                    const int tx = std::min(level.width - 1, static_cast<int>(x / scale) + i), ty = std::min(level.height - 1, static_cast<int>(y / scale) + j);
                    const Rgba t = level.texels[static_cast<size_t>(ty) * level.width + tx];
                    for (int k = 0; k < 4; ++k) sum[k] += t[k];
                    ++n;
                }
            const float a = sum[3] / n;
            const float check = ((x / 8 + y / 8) % 2) ? 0.55f : 0.75f;
            Pixel& p = sheet.px[static_cast<size_t>(y0 + y) * sheet.width + x0 + x];
            for (int k = 0; k < 3; ++k) p[static_cast<size_t>(k)] = sum[k] / n * a + check * (1 - a);
        }
}

// Text with the generated glyph atlas, as draw_text lays it out.
void put_text(Sheet& sheet, const Texture& font, const std::string& text, int cx, int cy, float size, float advance) {
    const auto& level = font.levels[0];
    const float x0 = cx - (static_cast<float>(text.size()) - 1) * advance / 2;
    for (size_t i = 0; i < text.size(); ++i) {
        const int c = static_cast<unsigned char>(text[i]);
        const float gx = x0 + static_cast<float>(i) * advance;
        for (int y = static_cast<int>(cy - size / 2); y < static_cast<int>(cy + size / 2); ++y)
            for (int x = static_cast<int>(gx - size / 2); x < static_cast<int>(gx + size / 2); ++x) {
                if (x < 0 || y < 0 || x >= sheet.width || y >= sheet.height) continue;
                const float s = ((c % 16) + (x + 0.5f - (gx - size / 2)) / size) / 16;
                const float t = ((c / 16) + (y + 0.5f - (cy - size / 2)) / size) / 16;
                const float fx = s * level.width - 0.5f, fy = t * level.height - 0.5f;
                const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
                auto alpha = [&](int px, int py) { return level.texels[static_cast<size_t>(std::clamp(py, 0, level.height - 1)) * level.width + std::clamp(px, 0, level.width - 1)][3]; };
                const float ax = fx - ix, ay = fy - iy;
                const float a = (alpha(ix, iy) * (1 - ax) + alpha(ix + 1, iy) * ax) * (1 - ay) + (alpha(ix, iy + 1) * (1 - ax) + alpha(ix + 1, iy + 1) * ax) * ay;
                Pixel& p = sheet.px[static_cast<size_t>(y) * sheet.width + x];
                for (float& k : p) k = k * (1 - a) + a;
            }
    }
}

void blit(Sheet& sheet, const SoftGl& gl, int x0, int y0) {
    for (int y = 0; y < gl.height; ++y)
        for (int x = 0; x < gl.width; ++x) sheet.px[static_cast<size_t>(y0 + y) * sheet.width + x0 + x] = gl.colour[static_cast<size_t>(y) * gl.width + x];
}

void texture_sheet(const PreviewData& d, const std::string& out) {
    std::vector<std::string> names;
    for (const auto& [name, texture] : d.textures) names.push_back(name);
    const int cell = 200, columns = 8, rows = static_cast<int>((names.size() + columns - 1) / columns);
    Sheet sheet = make_sheet(columns * cell, rows * (cell + 20));
    for (size_t i = 0; i < names.size(); ++i) {
        const int x = static_cast<int>(i % columns) * cell, y = static_cast<int>(i / columns) * (cell + 20);
        put_texture(sheet, d.textures.at(names[i]), x + 4, y + 4, cell - 8);
        put_text(sheet, d.textures.at("font"), names[i], x + cell / 2, y + cell + 8, 18, 11);
    }
    write_png(out + "/textures.png", sheet.width, sheet.height, sheet.px);
}

// Which texture a mesh wears in its scene, whether by sphere mapping, and
// the scene transform that puts it into the world (shown in world terms).
struct MeshLook {
    const char* mesh;
    const char* texture;
    bool sphere;
    Mat4 placement = identity();
};

void mesh_sheet(const PreviewData& d, const std::string& out) {
    const MeshLook looks[] = {{"sky", "backsky1", false, rotation(90, 1, 0, 0) * scaling(1, 5, 1)},
                              {"grass", "grass", false},
                              {"subgrass", "subgrass", false},
                              {"flowerhead", "flowerhead", false},
                              {"flowerleg", "flowerleg", false},
                              {"bfly1", "bfly", false},
                              {"bfly2", "bfly", false},
                              {"kubes", "kubes", false},
                              {"kubeshigh", "kubeshigh", false},
                              {"earth", "earth", false, rotation(90, 0, 1, 0)},
                              {"star", "star1", false},
                              {"water", "water", false},
                              {"ship", "ship", false, rotation(-90, 1, 0, 0) * scaling(0.1, 0.1, 0.1) * translation(0, 0, 45)},
                              {"parus", "parus", false, scaling(0.0625, 0.1, -1.0 / 22) * rotation(70, 0, 1, 0) * translation(-12, 65, -35)},
                              {"fish", "fish", true, rotation(-90, 1, 0, 0)},
                              {"qvlogo", "blik", true}};
    const int w = 240, h = 180, views = 3;
    const int count = static_cast<int>(std::size(looks));
    Sheet sheet = make_sheet(w * views * 2, (count + 1) / 2 * (h + 20));
    for (int m = 0; m < count; ++m) {
        const std::vector<Corner>& corners = d.meshes.at(looks[m].mesh);
        const Mat4& place = looks[m].placement;
        Vec3 lo = {1e30f, 1e30f, 1e30f}, hi = {-1e30f, -1e30f, -1e30f};
        for (const Corner& c : corners) {
            const Vec3 p = transform_point(place, c.p);
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
        const Vec3 centre = (lo + hi) * 0.5f;
        const float radius = length(hi - lo) * 0.5f;
        for (int v = 0; v < views; ++v) {
            SoftGl gl = make_soft_gl(w, h);
            clear(gl, {0.08f, 0.08f, 0.1f});
            perspective(gl, 40, 4.0 / 3, radius * 0.05, radius * 10);
            const float yaw = 0.6f + 2.1f * static_cast<float>(v), pitch = v == 2 ? 1.1f : 0.35f;
            const Vec3 eye = centre + Vec3{std::cos(pitch) * std::sin(yaw), std::sin(pitch), std::cos(pitch) * std::cos(yaw)} * (radius * 3.0f);
            look_at(gl, eye, centre, {0, 1, 0});
            gl.depth_test = true;
            gl.texture = &d.textures.at(looks[m].texture);
            gl.sphere_map = looks[m].sphere;
            gl.shade = !looks[m].sphere;
            gl.alpha_test = AlphaTest::greater;
            gl.alpha_ref = 0.5f;
            multiply(gl, place);
            draw_triangles(gl, corners);
            blit(sheet, gl, ((m % 2) * views + v) * w, (m / 2) * (h + 20));
        }
        put_text(sheet, d.textures.at("font"), looks[m].mesh, (m % 2) * views * w + views * w / 2, (m / 2) * (h + 20) + h + 9, 18, 11);
    }
    write_png(out + "/meshes.png", sheet.width, sheet.height, sheet.px);
}

void scene_sheet(const PreviewData& d, const std::string& out, const std::string& scene) {
    struct Times {
        const char* scene;
        float t[6];
    };
    static const Times times[] = {{"intro", {0.05f, 0.25f, 0.45f, 0.65f, 0.8f, 0.95f}},
                                  {"en1", {0.02f, 0.3f, 0.45f, 0.6f, 0.8f, 0.97f}},
                                  {"en2", {0.05f, 0.25f, 0.42f, 0.6f, 0.8f, 0.97f}},
                                  {"en3", {0.1f, 0.3f, 0.45f, 0.6f, 0.8f, 0.97f}},
                                  {"en4", {0.3f, 0.45f, 0.6f, 0.75f, 0.9f, 0.99f}},
                                  {"en5", {0.3f, 0.42f, 0.55f, 0.7f, 0.86f, 0.97f}},
                                  {"en6", {0.58f, 0.65f, 0.72f, 0.8f, 0.9f, 0.98f}}};
    const int w = 480, h = 360;
    for (const Times& entry : times) {
        if (scene != entry.scene) continue;
        Sheet sheet = make_sheet(3 * w, 2 * (h + 22));
        for (int i = 0; i < 6; ++i) {
            SoftGl gl = make_soft_gl(w, h);
            render_scene(gl, d, scene, entry.t[i]);
            blit(sheet, gl, (i % 3) * w, (i / 3) * (h + 22));
            char label[32];
            std::snprintf(label, sizeof label, "%s  t = %.2f", entry.scene, static_cast<double>(entry.t[i]));
            put_text(sheet, d.textures.at("font"), label, (i % 3) * w + w / 2, (i / 3) * (h + 22) + h + 11, 18, 11);
        }
        write_png(out + "/" + scene + ".png", sheet.width, sheet.height, sheet.px);
    }
}

// The lines of the show at the glyph sizes and advances the scenes use.
void text_sheet(const PreviewData& d, const std::string& out) {
    Sheet sheet = make_sheet(640, 480);
    std::fill(sheet.px.begin(), sheet.px.end(), Pixel{0, 0, 0});
    const Texture& font = d.textures.at("font");
    put_text(sheet, font, "welcome to digital art festival", 320, 30, 30, 16);
    put_text(sheet, font, "quor vane 2006 invitation", 320, 100, 22, 15);
    put_text(sheet, font, "quor vane", 320, 175, 90, 30.5f);
    put_text(sheet, font, "graphics", 320, 265, 70, 40);
    put_text(sheet, font, "non stop party experience for creative people", 320, 330, 19, 10);
    put_text(sheet, font, "quor vane : digital art festival", 320, 412, 16, 11);
    put_text(sheet, font, "0123456789 .,:;!?-_/@()'\"", 320, 440, 16, 10);
    put_text(sheet, font, "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz", 320, 465, 16, 10);
    write_png(out + "/texts.png", sheet.width, sheet.height, sheet.px);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: datagen_preview DATA OUT [textures|meshes|texts|intro|en1 ... en6] ...\n");
        return 2;
    }
    static const std::vector<std::string> sheets = {"textures", "meshes", "texts", "intro", "en1",
                                                    "en2",      "en3",    "en4",   "en5",   "en6"};
    std::vector<std::string> what(argv + 3, argv + argc);
    if (what.empty()) what = sheets;
    for (const std::string& w : what) {
        if (std::find(sheets.begin(), sheets.end(), w) == sheets.end()) {
            std::fprintf(stderr, "datagen_preview: no sheet named \"%s\"\n", w.c_str());
            return 2;
        }
    }
    const PreviewData data = load_preview_data(argv[1]);
    const std::string out = argv[2];
    std::error_code error;
    std::filesystem::create_directories(out, error);
    if (error) {
        std::fprintf(stderr, "datagen_preview: cannot create %s: %s\n", out.c_str(), error.message().c_str());
        return 1;
    }
    for (const std::string& w : what) {
        if (w == "textures") texture_sheet(data, out);
        else if (w == "meshes") mesh_sheet(data, out);
        else if (w == "texts") text_sheet(data, out);
        else scene_sheet(data, out, w);
    }
    return 0;
}
