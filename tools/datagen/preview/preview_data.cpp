// Textures, meshes and PNG output for the preview sheets.
#include "preview_data.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "assets/jpeg_image.h"
#include "assets/load_error.h"
#include "png_file.h"

namespace {

// Each level averages 2x2 blocks of the one before, as gluBuild2DMipmaps does.
texture with_mipmaps(picture base) {
    texture result;
    result.levels.push_back(std::move(base));
    while (result.levels.back().width > 1 || result.levels.back().height > 1) {
        const picture& previous = result.levels.back();
        picture next;
        next.width = std::max(1, previous.width / 2);
        next.height = std::max(1, previous.height / 2);
        next.texels.resize(static_cast<size_t>(next.width) * next.height);
        for (int y = 0; y < next.height; ++y) {
            for (int x = 0; x < next.width; ++x) {
                texel sum = {0, 0, 0, 0};
                for (int j = 0; j < 2; ++j) {
                    for (int i = 0; i < 2; ++i) {
                        const texel& t = previous.at(std::min(previous.width - 1, 2 * x + i),
                                                     std::min(previous.height - 1, 2 * y + j));
                        for (size_t k = 0; k < 4; ++k) sum[k] += t[k] * 0.25f;
                    }
                }
                next.texels[static_cast<size_t>(y) * next.width + x] = sum;
            }
        }
        result.levels.push_back(std::move(next));
    }
    return result;
}

jpeg_image decode(const std::string& dir, const std::string& name) {
    return decode_jpeg_file((dir + "/" + name + ".jpg").c_str());
}

// The colour picture's texels, alpha taken from `alpha` (its blue channel)
// or 1 where there is none.
picture to_picture(const jpeg_image& colour, const jpeg_image* alpha) {
    picture p;
    p.width = colour.width;
    p.height = colour.height;
    p.texels.resize(static_cast<size_t>(p.width) * p.height);
    for (size_t i = 0; i < p.texels.size(); ++i) {
        p.texels[i] = {colour.rgb[i * 3] / 255.0f, colour.rgb[i * 3 + 1] / 255.0f,
                       colour.rgb[i * 3 + 2] / 255.0f, alpha ? alpha->rgb[i * 3 + 2] / 255.0f : 1.0f};
    }
    return p;
}

}  // namespace

const texel& picture::at(int x, int y) const {
    x = ((x % width) + width) % width;
    y = ((y % height) + height) % height;
    return texels[static_cast<size_t>(y) * width + x];
}

texture load_texture(const std::string& dir, const std::string& name) {
    return with_mipmaps(to_picture(decode(dir, name), nullptr));
}

texture load_texture_alpha(const std::string& dir, const std::string& colour, const std::string& alpha) {
    const jpeg_image c = decode(dir, colour), a = decode(dir, alpha);
    if (c.width != a.width || c.height != a.height) {
        const std::string reason = "its size differs from " + colour + ".jpg";
        fatal_load_error((dir + "/" + alpha + ".jpg").c_str(), reason.c_str());
    }
    return with_mipmaps(to_picture(c, &a));
}

std::map<std::string, texture> load_all_textures(const std::string& dir) {
    std::map<std::string, texture> textures;
    for (const char* name : {"sky1", "sky2", "sky3", "sky4", "sky5", "net1", "net2", "net3", "net4",
                             "net5", "subgrass", "flowerleg", "floor", "water", "backsky1", "kubes",
                             "kubeshigh", "ship", "qvlogo", "earth", "star1", "star2", "star3",
                             "starfon", "blik", "fish", "parus"}) {
        textures[name] = load_texture(dir, name);
    }
    for (const std::string name : {"font", "grass", "flowerhead", "bfly"}) {
        textures[name] = load_texture_alpha(dir, name, name + "_alpha");
    }
    for (int k = 1; k <= 8; ++k) {
        const std::string frame = "bo_" + std::to_string(k);
        textures[frame] = load_texture_alpha(dir, frame, "boalpha_" + std::to_string(k));
    }
    return textures;
}

TGeoxData load_mesh(const std::string& dir, const std::string& name) {
    TGeoxData mesh;
    load_geox(mesh, (dir + "/" + name + ".geox").c_str());
    compute_face_normals(mesh);
    compute_vertex_normals(mesh);
    return mesh;
}

void write_png(const std::string& path, int width, int height, const std::vector<pixel>& pixels) {
    std::vector<uint8_t> rgb(pixels.size() * 3);
    for (size_t i = 0; i < pixels.size(); ++i) {
        for (size_t k = 0; k < 3; ++k) {
            rgb[i * 3 + k] = static_cast<uint8_t>(std::lround(std::clamp(pixels[i][k], 0.0f, 1.0f) * 255));
        }
    }
    if (write_png_file(path, rgb.data(), width, height)) return;
    std::fprintf(stderr, "datagen_preview: cannot write %s\n", path.c_str());
    std::exit(1);
}
