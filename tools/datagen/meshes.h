// The mesh groups of the data folder; write_meshes (meshes.cpp) runs them.
// Each returns false once a file cannot be written.
#pragma once

#include <string>

#include "mesh_builder.h"

bool write_meadow_meshes(const std::string& dir);  // sky, grass, subgrass, flowerhead, flowerleg, bfly1, bfly2
bool write_sea_meshes(const std::string& dir);     // water, ship, parus, fish
bool write_city_meshes(const std::string& dir);    // kubes, kubeshigh
bool write_space_meshes(const std::string& dir);   // earth, star
bool write_logo_mesh(const std::string& dir);      // qvlogo

// Writes dir/name.geox.
bool save_mesh(const std::string& dir, const std::string& name, const Mesh& mesh);
