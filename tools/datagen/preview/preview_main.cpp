// datagen_preview DATA OUT [sheet ...]: contact sheets of the generated data
// folder for judging the artwork by eye: OUT/textures.png (every picture,
// alpha cut-outs over a checkerboard), OUT/meshes.png (every mesh from three
// sides, in its texture) and OUT/texts.png (the show's lines in the bitmap
// font). Pictures of the scenes themselves come from trof_capture --sheet.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "mesh_view.h"
#include "platform/platform.h"
#include "preview_data.h"

namespace {

using texture_map = std::map<std::string, texture>;

struct sheet {
    int width, height;
    std::vector<pixel> pixels;
};

sheet make_sheet(int width, int height, pixel background) {
    return {width, height, std::vector<pixel>(static_cast<size_t>(width) * height, background)};
}

// Box-filtered copy of a picture into a box x box cell, alpha over a checkerboard.
void put_texture(sheet& s, const texture& t, int x0, int y0, int box) {
    const picture& level = t.levels[0];
    const float scale = static_cast<float>(box) / static_cast<float>(std::max(level.width, level.height));
    const int w = static_cast<int>(static_cast<float>(level.width) * scale);
    const int h = static_cast<int>(static_cast<float>(level.height) * scale);
    const int step = std::max(1, static_cast<int>(1 / scale));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            texel sum = {0, 0, 0, 0};
            for (int j = 0; j < step; ++j) {
                for (int i = 0; i < step; ++i) {
                    const texel& c = level.at(std::min(level.width - 1, static_cast<int>(static_cast<float>(x) / scale) + i),
                                              std::min(level.height - 1, static_cast<int>(static_cast<float>(y) / scale) + j));
                    for (size_t k = 0; k < 4; ++k) sum[k] += c[k];
                }
            }
            const float n = static_cast<float>(step * step), a = sum[3] / n;
            const float check = ((x / 8 + y / 8) % 2) ? 0.55f : 0.75f;
            pixel& p = s.pixels[static_cast<size_t>(y0 + y) * s.width + x0 + x];
            for (size_t k = 0; k < 3; ++k) p[k] = sum[k] / n * a + check * (1 - a);
        }
    }
}

// White text in the generated glyph atlas (16x16 glyphs, alpha as coverage),
// centred on (cx, cy) with the glyph size and advance the scenes use.
void put_text(sheet& s, const texture& font, const std::string& text, int cx, int cy, float size,
              float advance) {
    const picture& level = font.levels[0];
    const float x0 = static_cast<float>(cx) - (static_cast<float>(text.size()) - 1) * advance / 2;
    const float y0 = static_cast<float>(cy);
    const auto alpha = [&](int x, int y) {
        return level.at(std::clamp(x, 0, level.width - 1), std::clamp(y, 0, level.height - 1))[3];
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const int c = static_cast<unsigned char>(text[i]);
        const float gx = x0 + static_cast<float>(i) * advance;
        for (int y = static_cast<int>(y0 - size / 2); y < static_cast<int>(y0 + size / 2); ++y) {
            for (int x = static_cast<int>(gx - size / 2); x < static_cast<int>(gx + size / 2); ++x) {
                if (x < 0 || y < 0 || x >= s.width || y >= s.height) continue;
                const float u = (static_cast<float>(c % 16) + (static_cast<float>(x) + 0.5f - (gx - size / 2)) / size) / 16;
                const float v = (static_cast<float>(c / 16) + (static_cast<float>(y) + 0.5f - (y0 - size / 2)) / size) / 16;
                const float fx = u * static_cast<float>(level.width) - 0.5f;
                const float fy = v * static_cast<float>(level.height) - 0.5f;
                const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
                const float ax = fx - static_cast<float>(ix), ay = fy - static_cast<float>(iy);
                const float a = (alpha(ix, iy) * (1 - ax) + alpha(ix + 1, iy) * ax) * (1 - ay) +
                                (alpha(ix, iy + 1) * (1 - ax) + alpha(ix + 1, iy + 1) * ax) * ay;
                for (float& k : s.pixels[static_cast<size_t>(y) * s.width + x]) k = k * (1 - a) + a;
            }
        }
    }
}

void texture_sheet(const texture_map& textures, const std::string& out) {
    const int cell = 200, columns = 8, rows = static_cast<int>((textures.size() + columns - 1) / columns);
    sheet s = make_sheet(columns * cell, rows * (cell + 20), {0.2f, 0.2f, 0.2f});
    int i = 0;
    for (const auto& [name, t] : textures) {
        const int x = (i % columns) * cell, y = (i / columns) * (cell + 20);
        put_texture(s, t, x + 4, y + 4, cell - 8);
        put_text(s, textures.at("font"), name, x + cell / 2, y + cell + 8, 18, 11);
        ++i;
    }
    write_png(out + "/textures.png", s.width, s.height, s.pixels);
}

// Which texture a mesh wears in its scene, whether by sphere mapping, and
// the scene transform that puts it into the world (shown in world terms).
struct mesh_look {
    const char* mesh;
    const char* texture;
    bool sphere;
    Mat4 placement = identity();
};

void mesh_sheet(const std::string& dir, const texture_map& textures, const std::string& out) {
    const mesh_look looks[] = {
        {"sky", "backsky1", false, rotation(90, 1, 0, 0) * scaling(1, 5, 1)},
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
        {"parus", "parus", false,
         scaling(0.0625, 0.1, -1.0 / 22) * rotation(70, 0, 1, 0) * translation(-12, 65, -35)},
        {"fish", "fish", true, rotation(-90, 1, 0, 0)},
        {"qvlogo", "blik", true}};
    const int w = 240, h = 180, views = 3;
    const int count = static_cast<int>(std::size(looks));
    sheet s = make_sheet(w * views * 2, (count + 1) / 2 * (h + 20), {0.2f, 0.2f, 0.2f});
    for (int m = 0; m < count; ++m) {
        const mesh_look& look = looks[m];
        const TGeoxData mesh = load_mesh(dir, look.mesh);
        // The bounding box in world terms frames the views.
        Vec3 lo = {1e30f, 1e30f, 1e30f}, hi = {-1e30f, -1e30f, -1e30f};
        for (const TGeoxVertex& v : mesh.vertices) {
            const Vec3 p = transform_point(look.placement, {v.x, v.y, v.z});
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
        const Vec3 centre = (lo + hi) * 0.5f;
        const float radius = length(hi - lo) * 0.5f;
        for (int v = 0; v < views; ++v) {
            const float yaw = 0.6f + 2.1f * static_cast<float>(v), pitch = v == 2 ? 1.1f : 0.35f;
            const Vec3 toward_eye = {std::cos(pitch) * std::sin(yaw), std::sin(pitch),
                                     std::cos(pitch) * std::cos(yaw)};
            mesh_view view = make_mesh_view(w, h, {0.08f, 0.08f, 0.1f}, 40, radius * 0.05, radius * 10,
                                            centre + toward_eye * (radius * 3.0f), centre);
            draw_mesh(view, mesh, look.placement, textures.at(look.texture), look.sphere);
            const int left = ((m % 2) * views + v) * w, top = (m / 2) * (h + 20);
            for (int y = 0; y < h; ++y) {
                std::copy_n(view.colour.begin() + static_cast<std::ptrdiff_t>(y) * w, w,
                            s.pixels.begin() + static_cast<std::ptrdiff_t>(top + y) * s.width + left);
            }
        }
        const int label_x = (m % 2) * views * w + views * w / 2, label_y = (m / 2) * (h + 20) + h + 9;
        put_text(s, textures.at("font"), look.mesh, label_x, label_y, 18, 11);
    }
    write_png(out + "/meshes.png", s.width, s.height, s.pixels);
}

// The lines of the show at the glyph sizes and advances the scenes use.
void text_sheet(const texture_map& textures, const std::string& out) {
    sheet s = make_sheet(640, 480, {0, 0, 0});
    const texture& font = textures.at("font");
    put_text(s, font, "welcome to digital art festival", 320, 30, 30, 16);
    put_text(s, font, "quor vane 2006 invitation", 320, 100, 22, 15);
    put_text(s, font, "quor vane", 320, 175, 90, 30.5f);
    put_text(s, font, "graphics", 320, 265, 70, 40);
    put_text(s, font, "non stop party experience for creative people", 320, 330, 19, 10);
    put_text(s, font, "quor vane : digital art festival", 320, 412, 16, 11);
    put_text(s, font, "0123456789 .,:;!?-_/@()'\"", 320, 440, 16, 10);
    put_text(s, font, "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz", 320, 465, 16, 10);
    write_png(out + "/texts.png", s.width, s.height, s.pixels);
}

}  // namespace

int main(int argc, char** argv) {
    static const std::vector<std::string> sheets = {"textures", "meshes", "texts"};
    if (argc < 3) {
        std::fprintf(stderr, "usage: datagen_preview DATA OUT [textures|meshes|texts] ...\n"
                             "(scene sheets: trof_capture --time T ... --sheet FILE)\n");
        return 2;
    }
    std::vector<std::string> wanted(argv + 3, argv + argc);
    if (wanted.empty()) wanted = sheets;
    for (const std::string& name : wanted) {
        if (std::find(sheets.begin(), sheets.end(), name) == sheets.end()) {
            std::fprintf(stderr, "datagen_preview: no sheet named \"%s\"\n", name.c_str());
            return 2;
        }
    }
    // A load error then goes to stderr only: no message box waits for a click.
    platform::use_offscreen(true);
    const std::string dir = argv[1], out = argv[2];
    const texture_map textures = load_all_textures(dir);
    std::error_code error;
    std::filesystem::create_directories(out, error);
    if (error) {
        std::fprintf(stderr, "datagen_preview: cannot create %s: %s\n", out.c_str(), error.message().c_str());
        return 1;
    }
    for (const std::string& name : wanted) {
        if (name == "textures") texture_sheet(textures, out);
        if (name == "meshes") mesh_sheet(dir, textures, out);
        if (name == "texts") text_sheet(textures, out);
    }
    return 0;
}
