// A small software stand-in for the fixed-function pipeline the scenes use
// (matrix stack, perspective, depth, alpha test, the blend modes, sphere
// mapping, linear fog), so the generated data can be judged in pictures
// without a GL context.
#pragma once

#include <array>
#include <vector>

#include "../mesh_builder.h"

using Rgba = std::array<float, 4>;

// A texture with its mipmap chain; texel (0, 0) is the top-left of the
// picture, addressed by (u, v) = (0, 0) like an uploaded JPEG.
struct Texture {
    struct Level {
        int width, height;
        std::vector<Rgba> texels;
    };
    std::vector<Level> levels;
    bool nearest = false;
    bool mipmapped = true;  // false for textures whose minification filter is GL_LINEAR
};
Texture make_texture(int width, int height, std::vector<Rgba> texels);

enum class Blend { none, add, alpha_add, alpha };
enum class AlphaTest { off, greater, gequal };

struct Corner {
    Vec3 p;
    float u, v;
    Vec3 n;
};

struct SoftGl {
    int width = 0, height = 0;
    std::vector<std::array<float, 3>> colour;
    std::vector<float> depth;
    Mat4 projection = identity(), modelview = identity();
    std::vector<Mat4> stack;
    bool depth_test = false, depth_write = true, lequal = false;
    AlphaTest alpha_test = AlphaTest::off;
    float alpha_ref = 0;
    Blend blend = Blend::none;
    Rgba tint = {1, 1, 1, 1};
    const Texture* texture = nullptr;
    bool sphere_map = false;
    bool shade = false;  // preview only: a headlight on the vertex normals, to show shapes
    bool fog = false;
    float fog_start = 0, fog_end = 1;
    std::array<float, 3> fog_colour = {0, 0, 0};
};

SoftGl make_soft_gl(int width, int height);
void clear(SoftGl& gl, std::array<float, 3> colour);
void clear_depth(SoftGl& gl);
void perspective(SoftGl& gl, double fov_degrees, double aspect, double near, double far);
void look_at(SoftGl& gl, Vec3 eye, Vec3 target, Vec3 up);
void push(SoftGl& gl);
void pop(SoftGl& gl);
void multiply(SoftGl& gl, const Mat4& m);
// Triangles given three corners each.
void draw_triangles(SoftGl& gl, const std::vector<Corner>& corners);
// A quad a-b-c-d as two triangles (a, b, c) and (a, c, d), like GL_QUADS.
void draw_quad(SoftGl& gl, const Corner& a, const Corner& b, const Corner& c, const Corner& d);
