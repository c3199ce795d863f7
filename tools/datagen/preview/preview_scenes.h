// Approximate renderings of the demo's scenes from the generated data,
// following the scenes' own draw steps and transforms (random layouts drawn
// from the generator's PRNG instead of the demo's).
#pragma once

#include <map>
#include <string>

#include "preview_data.h"

struct PreviewData {
    std::string dir;
    std::map<std::string, Texture> textures;
    std::map<std::string, std::vector<Corner>> meshes;
    std::map<std::string, CameraPath> paths;
};
PreviewData load_preview_data(const std::string& dir);

// Renders scene "intro" (p in [0, 1)) or "en1" ... "en6" at local time
// t in [0, 1) into gl.
void render_scene(SoftGl& gl, const PreviewData& data, const std::string& scene, float t);
