// The texture groups of the data folder; write_textures (textures.cpp) runs
// them all. Each returns false once a file cannot be written.
#pragma once

#include <string>

#include "image.h"

bool write_sky_textures(const std::string& dir);     // sky1 ... sky5, backsky1
bool write_space_textures(const std::string& dir);   // earth, starfon, star1 ... star3
bool write_net_textures(const std::string& dir);     // net1 ... net5
bool write_meadow_textures(const std::string& dir);  // grass, subgrass, flowerhead, flowerleg, bfly
bool write_sea_textures(const std::string& dir);     // floor, water, ship, parus, fish, blik
bool write_city_textures(const std::string& dir);    // kubes, kubeshigh
bool write_logo_texture(const std::string& dir);     // qvlogo
bool write_boy_textures(const std::string& dir);     // bo_1 ... bo_8 with boalpha_1 ... boalpha_8
bool write_font_atlas(const std::string& dir);       // font with font_alpha

// Writes dir/name.jpg.
bool save_texture(const std::string& dir, const std::string& name, const Image& image);
// Writes dir/colour_name.jpg and its greyscale alpha companion dir/alpha_name.jpg.
bool save_texture_pair(const std::string& dir, const std::string& colour_name,
                       const std::string& alpha_name, const Canvas& canvas);

// Doubles the resolution of a picture by bilinear interpolation (wrapping).
Image upscale2(const Image& image);
