// The generated data folder read back through the demo's own loaders: JPEG
// pictures (with their alpha companions) as float texels with a mipmap
// chain, .geox meshes with the normals the scenes compute, and PNG output of
// the finished sheets.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "assets/qor_geox.h"

using texel = std::array<float, 4>;  // red, green, blue, alpha in [0, 1]
using pixel = std::array<float, 3>;

// Texel (0, 0) is the top left of the picture, as for an uploaded JPEG.
struct picture {
    int width = 0;
    int height = 0;
    std::vector<texel> texels;
    // Coordinates outside the picture wrap around, as GL_REPEAT does.
    const texel& at(int x, int y) const;
};

// Level 0 is the picture itself, each further level half the size down to 1x1.
struct texture {
    std::vector<picture> levels;
};

// dir/name.jpg with alpha 1.
texture load_texture(const std::string& dir, const std::string& name);
// dir/colour.jpg with the blue channel of dir/alpha.jpg as its alpha, as the
// demo's texture loader combines them.
texture load_texture_alpha(const std::string& dir, const std::string& colour, const std::string& alpha);
// Every picture of the data folder by file name, each alpha companion
// folded into its colour picture.
std::map<std::string, texture> load_all_textures(const std::string& dir);
// dir/name.geox with its face and vertex normals computed.
TGeoxData load_mesh(const std::string& dir, const std::string& name);

// Writes the pixels (rows top first) as a PNG file, or ends the tool with a message.
void write_png(const std::string& path, int width, int height, const std::vector<pixel>& pixels);
