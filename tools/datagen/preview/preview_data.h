// Reading the generated data folder back the way the demo reads it: JPEG
// textures (with alpha companions), .geox meshes with their computed normals,
// .camera paths with the Hermite playback, and PNG output of pictures.
#pragma once

#include <string>
#include <vector>

#include "soft_gl.h"

// Loads dir/name.jpg, or the colour + alpha pair; exits with a message on failure.
Texture load_texture(const std::string& dir, const std::string& name);
Texture load_texture_alpha(const std::string& dir, const std::string& colour, const std::string& alpha);

// A .geox mesh as triangle corners (x, z, y file order undone), with the
// averaged vertex normals the scenes compute.
std::vector<Corner> load_geox(const std::string& dir, const std::string& name);

struct CameraRecord {
    float fov;
    Vec3 eye, target, up;
};
struct CameraPath {
    std::vector<CameraRecord> slots;  // 100 slots, the file in slots 0 ...
    int count = 0;
};
CameraPath load_camera(const std::string& dir, const std::string& name);
CameraRecord interpolate_camera(const CameraPath& path, float t);

// Writes the picture as a PNG file, or ends the tool with a message.
void write_png(const std::string& path, int width, int height, const std::vector<std::array<float, 3>>& pixels);
