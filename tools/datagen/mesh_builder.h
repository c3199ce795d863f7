// Triangle meshes as the demo's scenes see them (y up), the transforms that
// carry a mesh designed in world terms into its file's units, and the
// .geox writer with its x, z, y axis order.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

struct Vec3 {
    float x, y, z;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalised(Vec3 a) { return a * (1.0f / length(a)); }

struct Vertex {
    Vec3 p;
    float u, v;
};

struct Mesh {
    std::vector<Vertex> vertices;
    std::vector<std::array<int32_t, 3>> faces;
};

// A 4x4 matrix in OpenGL's column-major order, built like the fixed-function
// matrix stack: each call multiplies on the right.
struct Mat4 {
    double m[16];
};
Mat4 identity();
Mat4 operator*(const Mat4& a, const Mat4& b);
Mat4 translation(double x, double y, double z);
Mat4 scaling(double x, double y, double z);
// A rotation by degrees about an axis, as glRotate makes it.
Mat4 rotation(double degrees, double x, double y, double z);
Mat4 inverse(const Mat4& a);
Vec3 transform_point(const Mat4& m, Vec3 p);

// Adds vertices and faces; indices of a face are relative to the mesh.
int32_t add_vertex(Mesh& mesh, Vec3 p, float u, float v);
void add_triangle(Mesh& mesh, int32_t a, int32_t b, int32_t c);
// A quad a-b-c-d, counter-clockwise seen from the side its normal faces.
void add_quad(Mesh& mesh, int32_t a, int32_t b, int32_t c, int32_t d);
void append(Mesh& mesh, const Mesh& part);
// Turns every face over (reverses its winding).
void flip_faces(Mesh& mesh);
void transform(Mesh& mesh, const Mat4& m);

// A mesh designed in world terms expressed in the units of a scene that
// draws it under the transform scene: every position gets scene's inverse.
Mesh to_scene_units(Mesh world, const Mat4& scene);

// Quad grid over (s, t) in [0, 1]^2 with ns x nt cells; position(s, t) gives
// the point and uv(s, t) the texture coordinate. Faces are wound so that
// dP/ds x dP/dt is their front. With wrap_t the last column of vertices is
// the first one again (a closed tube without a seam for smooth normals).
template <class Position, class Uv>
void add_grid(Mesh& mesh, int ns, int nt, Position position, Uv uv, bool wrap_t = false) {
    const int32_t base = static_cast<int32_t>(mesh.vertices.size());
    const int columns = wrap_t ? nt : nt + 1;
    for (int i = 0; i <= ns; ++i) {
        for (int j = 0; j < columns; ++j) {
            const float s = static_cast<float>(i) / static_cast<float>(ns), t = static_cast<float>(j) / static_cast<float>(nt);
            const auto [u, v] = uv(s, t);
            add_vertex(mesh, position(s, t), u, v);
        }
    }
    auto index = [&](int i, int j) { return base + static_cast<int32_t>(i * columns + (j % columns)); };
    for (int i = 0; i < ns; ++i)
        for (int j = 0; j < nt; ++j) add_quad(mesh, index(i, j), index(i + 1, j), index(i + 1, j + 1), index(i, j + 1));
}

// A sphere of radius r with poles on the y axis; u = longitude / 2 pi times
// u_repeat, v from the north pole (0) to the south pole (1); outward fronts.
Mesh uv_sphere(float r, int segments, int rings, float u_repeat);

// Writes the mesh as .geox: little-endian counts, then x, z, y, u, v per
// vertex, then three indices per face. Returns false (with a message) when
// the file cannot be written.
bool write_geox(const std::string& path, const Mesh& mesh);
