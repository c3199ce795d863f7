// The generator of the whole data folder: every texture, mesh, camera path
// and the soundtrack, made by code with fixed seeds so that every run writes
// the same bytes.
#pragma once

#include <string>

// Each writes its files into dir (which exists) and returns false after
// printing a message to stderr when a file cannot be written.
bool write_textures(const std::string& dir);
bool write_meshes(const std::string& dir);
bool write_cameras(const std::string& dir);
bool write_soundtrack(const std::string& dir);
