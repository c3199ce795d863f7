// The asset catalogue: the 39 shared textures, registered under the names the
// scenes bind them by, and the sky dome compiled into a display list. The
// pictures are decoded by workers that start with the GL set-up; the GL
// thread uploads them in catalogue order.
#include "assets/scene_globaldata.h"

#include <GL/gl.h>

#include <string>
#include <utility>
#include <vector>

texture_table_t texture_table;
TGeoxData sky_mesh;

namespace {

struct catalogue_entry {
    const char* name;
    const char* colour_file;
    const char* alpha_file;  // nullptr for a colour-only texture
    int min_filter;
};

constexpr int mipmapped = GL_LINEAR_MIPMAP_LINEAR;

// Table order is registration order; every entry magnifies linearly.
constexpr catalogue_entry catalogue[] = {
    {"font", "data\\font.jpg", "data\\font_alpha.jpg", GL_LINEAR},
    {"sky1", "data\\sky1.jpg", nullptr, GL_LINEAR},
    {"sky2", "data\\sky2.jpg", nullptr, GL_LINEAR},
    {"sky3", "data\\sky3.jpg", nullptr, GL_LINEAR},
    {"sky4", "data\\sky4.jpg", nullptr, GL_LINEAR},
    {"sky5", "data\\sky5.jpg", nullptr, GL_LINEAR},
    {"net1", "data\\net1.jpg", nullptr, mipmapped},
    {"net2", "data\\net2.jpg", nullptr, mipmapped},
    {"net3", "data\\net3.jpg", nullptr, mipmapped},
    {"net4", "data\\net4.jpg", nullptr, mipmapped},
    {"net5", "data\\net5.jpg", nullptr, mipmapped},
    {"grass", "data\\grass.jpg", "data\\grass_alpha.jpg", mipmapped},
    {"subgrass", "data\\subgrass.jpg", nullptr, GL_LINEAR},
    {"flowerhead", "data\\flowerhead.jpg", "data\\flowerhead_alpha.jpg", mipmapped},
    {"flowerleg", "data\\flowerleg.jpg", nullptr, mipmapped},
    {"floor", "data\\floor.jpg", nullptr, mipmapped},
    {"water", "data\\water.jpg", nullptr, mipmapped},
    {"backsky1", "data\\backsky1.jpg", nullptr, GL_LINEAR},
    {"kubes", "data\\kubes.jpg", nullptr, mipmapped},
    {"kubeshigh", "data\\kubeshigh.jpg", nullptr, mipmapped},
    {"ship", "data\\ship.jpg", nullptr, mipmapped},
    {"qvlogo", "data\\qvlogo.jpg", nullptr, GL_LINEAR},
    {"earth", "data\\earth.jpg", nullptr, mipmapped},
    {"star1", "data\\star1.jpg", nullptr, mipmapped},
    {"star2", "data\\star2.jpg", nullptr, mipmapped},
    {"star3", "data\\star3.jpg", nullptr, mipmapped},
    {"starfon", "data\\starfon.jpg", nullptr, GL_LINEAR},
    {"bfly", "data\\bfly.jpg", "data\\bfly_alpha.jpg", mipmapped},
    {"blik", "data\\blik.jpg", nullptr, mipmapped},
    {"fish", "data\\fish.jpg", nullptr, mipmapped},
    {"parus", "data\\parus.jpg", nullptr, mipmapped},
};

constexpr int boy_frames = 8;
constexpr size_t catalogue_size = sizeof catalogue / sizeof catalogue[0];

// The walk frames: boy0 from the pair numbered 1, ... boy7 from 8.
std::string boy_file(const char* stem, int frame) {
    return "data\\" + std::string(stem) + std::to_string(frame + 1) + ".jpg";
}

}  // namespace

void begin_asset_decoding() {
    std::vector<texture_source> sources;
    for (const catalogue_entry& entry : catalogue) {
        sources.push_back({entry.colour_file, entry.alpha_file == nullptr ? "" : entry.alpha_file});
    }
    for (int k = 0; k < boy_frames; ++k) sources.push_back({boy_file("bo_", k), boy_file("boalpha_", k)});
    begin_texture_decoding(std::move(sources));
}

void load_assets() {
    if (!texture_decoding_begun()) begin_asset_decoding();
    clear_texture_table(texture_table);
    for (size_t i = 0; i < catalogue_size; ++i) {
        const uint32_t texture = upload_decoded_texture(take_decoded_texture(i), GL_LINEAR, catalogue[i].min_filter);
        register_texture(texture_table, catalogue[i].name, texture);
    }
    for (int k = 0; k < boy_frames; ++k) {
        const uint32_t texture =
            upload_decoded_texture(take_decoded_texture(catalogue_size + static_cast<size_t>(k)), GL_NEAREST, GL_NEAREST);
        register_texture(texture_table, ("boy" + std::to_string(k)).c_str(), texture);
    }
    load_geox(sky_mesh, "data\\sky.geox");
    begin_list(sky_mesh.list);
    draw_geox_textured(sky_mesh);
    glEndList();
}
