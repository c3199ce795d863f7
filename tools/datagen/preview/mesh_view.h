// A small rasteriser that shows one textured mesh for the mesh sheet: depth
// buffer, perspective-correct mipmapped texturing, the alpha test at 0.5 the
// cut-out meshes need, sphere mapping for the chrome ones and a headlight on
// the vertex normals so that the shapes read.
#pragma once

#include <vector>

#include "../mesh_builder.h"
#include "preview_data.h"

struct mesh_view {
    int width = 0;
    int height = 0;
    std::vector<pixel> colour;  // rows top first
    std::vector<float> depth;
    Mat4 projection = identity();
    Mat4 modelview = identity();
};

// A view filled with the background, its camera as gluPerspective (with the
// view's aspect ratio) and gluLookAt with y up would set it.
mesh_view make_mesh_view(int width, int height, pixel background, double fov_degrees, double near,
                         double far, Vec3 eye, Vec3 target);

// Draws the mesh under `placement` (applied after the camera, like a scene's
// glMultMatrix). With sphere_map the texture coordinates come from the
// normals as GL_SPHERE_MAP makes them, and the headlight is off.
void draw_mesh(mesh_view& view, const TGeoxData& mesh, const Mat4& placement, const texture& skin,
               bool sphere_map);
