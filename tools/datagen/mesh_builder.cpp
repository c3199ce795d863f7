// Mesh assembly, fixed-function style matrices and the .geox writer.
#include "mesh_builder.h"

#include <cstdio>
#include <cstring>
#include <utility>

Mat4 identity() { return Mat4{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}; }

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[k * 4 + row] * b.m[col * 4 + k];
            r.m[col * 4 + row] = sum;
        }
    return r;
}

Mat4 translation(double x, double y, double z) {
    Mat4 r = identity();
    r.m[12] = x;
    r.m[13] = y;
    r.m[14] = z;
    return r;
}

Mat4 scaling(double x, double y, double z) {
    Mat4 r = identity();
    r.m[0] = x;
    r.m[5] = y;
    r.m[10] = z;
    return r;
}

Mat4 rotation(double degrees, double x, double y, double z) {
    const double len = std::sqrt(x * x + y * y + z * z);
    x /= len;
    y /= len;
    z /= len;
    const double a = degrees * 3.14159265358979323846 / 180, c = std::cos(a), s = std::sin(a), t = 1 - c;
    Mat4 r = identity();
    r.m[0] = x * x * t + c;
    r.m[1] = y * x * t + z * s;
    r.m[2] = x * z * t - y * s;
    r.m[4] = x * y * t - z * s;
    r.m[5] = y * y * t + c;
    r.m[6] = y * z * t + x * s;
    r.m[8] = x * z * t + y * s;
    r.m[9] = y * z * t - x * s;
    r.m[10] = z * z * t + c;
    return r;
}

Mat4 inverse(const Mat4& a) {
    // Affine inverse: invert the 3x3 part by cofactors, then the translation.
    const double* m = a.m;
    const double c00 = m[5] * m[10] - m[9] * m[6], c01 = m[8] * m[6] - m[4] * m[10], c02 = m[4] * m[9] - m[8] * m[5];
    const double det = m[0] * c00 + m[1] * c01 + m[2] * c02;
    Mat4 r = identity();
    r.m[0] = c00 / det;
    r.m[4] = c01 / det;
    r.m[8] = c02 / det;
    r.m[1] = (m[9] * m[2] - m[1] * m[10]) / det;
    r.m[5] = (m[0] * m[10] - m[8] * m[2]) / det;
    r.m[9] = (m[8] * m[1] - m[0] * m[9]) / det;
    r.m[2] = (m[1] * m[6] - m[5] * m[2]) / det;
    r.m[6] = (m[4] * m[2] - m[0] * m[6]) / det;
    r.m[10] = (m[0] * m[5] - m[4] * m[1]) / det;
    for (int row = 0; row < 3; ++row)
        r.m[12 + row] = -(r.m[row] * m[12] + r.m[4 + row] * m[13] + r.m[8 + row] * m[14]);
    return r;
}

Vec3 transform_point(const Mat4& m, Vec3 p) {
    const double x = p.x, y = p.y, z = p.z;
    return {static_cast<float>(m.m[0] * x + m.m[4] * y + m.m[8] * z + m.m[12]),
            static_cast<float>(m.m[1] * x + m.m[5] * y + m.m[9] * z + m.m[13]),
            static_cast<float>(m.m[2] * x + m.m[6] * y + m.m[10] * z + m.m[14])};
}

int32_t add_vertex(Mesh& mesh, Vec3 p, float u, float v) {
    mesh.vertices.push_back({p, u, v});
    return static_cast<int32_t>(mesh.vertices.size() - 1);
}

void add_triangle(Mesh& mesh, int32_t a, int32_t b, int32_t c) { mesh.faces.push_back({a, b, c}); }

void add_quad(Mesh& mesh, int32_t a, int32_t b, int32_t c, int32_t d) {
    add_triangle(mesh, a, b, c);
    add_triangle(mesh, a, c, d);
}

void append(Mesh& mesh, const Mesh& part) {
    const int32_t base = static_cast<int32_t>(mesh.vertices.size());
    mesh.vertices.insert(mesh.vertices.end(), part.vertices.begin(), part.vertices.end());
    for (const auto& f : part.faces) mesh.faces.push_back({f[0] + base, f[1] + base, f[2] + base});
}

void flip_faces(Mesh& mesh) {
    for (auto& f : mesh.faces) std::swap(f[1], f[2]);
}

void transform(Mesh& mesh, const Mat4& m) {
    for (Vertex& v : mesh.vertices) v.p = transform_point(m, v.p);
}

Mesh to_scene_units(Mesh world, const Mat4& scene) {
    transform(world, inverse(scene));
    return world;
}

Mesh uv_sphere(float r, int segments, int rings, float u_repeat) {
    Mesh mesh;
    // s runs eastwards round the equator and t from the north pole down, so
    // the picture reads unmirrored from outside; as for any picture laid on
    // with v downwards, dP/ds x dP/dt then points inwards, hence the flip.
    add_grid(
        mesh, segments, rings,
        [&](float s, float t) {
            const float lon = 2 * 3.14159265f * s, polar = 3.14159265f * t;
            return Vec3{r * std::sin(polar) * std::cos(lon), r * std::cos(polar), -r * std::sin(polar) * std::sin(lon)};
        },
        [&](float s, float t) { return std::array<float, 2>{s * u_repeat, t}; });
    flip_faces(mesh);
    return mesh;
}

namespace {

void put_u32(std::vector<unsigned char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void put_float(std::vector<unsigned char>& out, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    put_u32(out, bits);
}

}  // namespace

bool write_geox(const std::string& path, const Mesh& mesh) {
    std::vector<unsigned char> out;
    put_u32(out, static_cast<uint32_t>(mesh.vertices.size()));
    put_u32(out, static_cast<uint32_t>(mesh.faces.size()));
    for (const Vertex& v : mesh.vertices) {
        put_float(out, v.p.x);
        put_float(out, v.p.z);
        put_float(out, v.p.y);
        put_float(out, v.u);
        put_float(out, v.v);
    }
    for (const auto& f : mesh.faces)
        for (int32_t i : f) put_u32(out, static_cast<uint32_t>(i));
    FILE* file = std::fopen(path.c_str(), "wb");
    const bool ok = file && std::fwrite(out.data(), 1, out.size(), file) == out.size();
    if (file && std::fclose(file) != 0) return false;
    if (!ok) std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
    return ok;
}
