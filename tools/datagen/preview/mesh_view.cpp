// Vertex steps, near-plane clipping and triangle rasterisation of the mesh view.
#include "mesh_view.h"

#include <algorithm>
#include <cmath>

namespace {

// A triangle corner after the vertex steps.
struct corner {
    double x, y, z, w;  // clip space
    double u, v;
    double light;
};

corner mix(const corner& a, const corner& b, double t) {
    const auto lerp = [t](double p, double q) { return p + (q - p) * t; };
    return {lerp(a.x, b.x), lerp(a.y, b.y), lerp(a.z, b.z), lerp(a.w, b.w),
            lerp(a.u, b.u), lerp(a.v, b.v), lerp(a.light, b.light)};
}

Mat4 perspective(double fov_degrees, double aspect, double near, double far) {
    const double f = 1 / std::tan(fov_degrees * 3.14159265358979 / 360);
    Mat4 m{};
    m.m[0] = f / aspect;
    m.m[5] = f;
    m.m[10] = (far + near) / (near - far);
    m.m[11] = -1;
    m.m[14] = 2 * far * near / (near - far);
    return m;
}

Mat4 look_at(Vec3 eye, Vec3 target) {
    const Vec3 f = normalised(target - eye);
    const Vec3 s = normalised(cross(f, Vec3{0, 1, 0}));
    const Vec3 u = cross(s, f);
    Mat4 m = identity();
    m.m[0] = s.x, m.m[4] = s.y, m.m[8] = s.z;
    m.m[1] = u.x, m.m[5] = u.y, m.m[9] = u.z;
    m.m[2] = -f.x, m.m[6] = -f.y, m.m[10] = -f.z;
    return m * translation(-eye.x, -eye.y, -eye.z);
}

// Bilinear filtering within the mipmap level nearest to lod.
texel sample(const texture& skin, double u, double v, double lod) {
    const int last = static_cast<int>(skin.levels.size()) - 1;
    const int index = std::clamp(static_cast<int>(std::lround(lod)), 0, last);
    const picture& level = skin.levels[static_cast<size_t>(index)];
    const double x = u * level.width - 0.5, y = v * level.height - 0.5;
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const float fx = static_cast<float>(x - x0), fy = static_cast<float>(y - y0);
    const texel &a = level.at(x0, y0), &b = level.at(x0 + 1, y0), &c = level.at(x0, y0 + 1),
                &d = level.at(x0 + 1, y0 + 1);
    texel result;
    for (size_t i = 0; i < 4; ++i) {
        result[i] = (a[i] * (1 - fx) + b[i] * fx) * (1 - fy) + (c[i] * (1 - fx) + d[i] * fx) * fy;
    }
    return result;
}

void raster(mesh_view& view, const texture& skin, const corner* c) {
    double sx[3], sy[3], sz[3], iw[3];
    for (int i = 0; i < 3; ++i) {
        iw[i] = 1 / c[i].w;
        sx[i] = (c[i].x * iw[i] * 0.5 + 0.5) * view.width;
        sy[i] = (0.5 - c[i].y * iw[i] * 0.5) * view.height;  // row 0 is the top
        sz[i] = c[i].z * iw[i] * 0.5 + 0.5;
    }
    const double area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
    if (std::fabs(area) < 1e-12) return;
    // One mipmap level per triangle, from its texel area over its pixel area.
    const picture& base = skin.levels[0];
    const double uv_area = (c[1].u - c[0].u) * (c[2].v - c[0].v) - (c[2].u - c[0].u) * (c[1].v - c[0].v);
    const double texel_area = std::fabs(uv_area) * base.width * base.height;
    const double lod = std::max(0.0, 0.5 * std::log2(texel_area / std::fabs(area) + 1e-30));
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({sx[0], sx[1], sx[2]}))));
    const int x1 = std::min(view.width - 1, static_cast<int>(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({sy[0], sy[1], sy[2]}))));
    const int y1 = std::min(view.height - 1, static_cast<int>(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            double b[3];
            b[0] = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
            b[1] = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
            b[2] = 1 - b[0] - b[1];
            if (b[0] < 0 || b[1] < 0 || b[2] < 0) continue;
            const double z = b[0] * sz[0] + b[1] * sz[1] + b[2] * sz[2];
            const size_t at = static_cast<size_t>(y) * view.width + x;
            if (z < 0 || z > 1 || z >= view.depth[at]) continue;
            // Attributes interpolated over 1/w, so that they are perspective-correct.
            const double q = b[0] * iw[0] + b[1] * iw[1] + b[2] * iw[2];
            const auto attribute = [&](double corner::*field) {
                return (b[0] * (c[0].*field) * iw[0] + b[1] * (c[1].*field) * iw[1] +
                        b[2] * (c[2].*field) * iw[2]) / q;
            };
            const texel t = sample(skin, attribute(&corner::u), attribute(&corner::v), lod);
            if (!(t[3] > 0.5f)) continue;
            const float light = static_cast<float>(attribute(&corner::light));
            for (size_t i = 0; i < 3; ++i) view.colour[at][i] = std::min(1.0f, t[i] * light);
            view.depth[at] = static_cast<float>(z);
        }
    }
}

// Clips against the near plane (z > -w) and rasterises the pieces.
void clip_and_raster(mesh_view& view, const texture& skin, const corner* triangle) {
    std::vector<corner> polygon;
    for (int i = 0; i < 3; ++i) {
        const corner& a = triangle[i];
        const corner& b = triangle[(i + 1) % 3];
        const double da = a.z + a.w, db = b.z + b.w;
        if (da >= 0) polygon.push_back(a);
        if ((da >= 0) != (db >= 0)) polygon.push_back(mix(a, b, da / (da - db)));
    }
    for (size_t i = 1; i + 1 < polygon.size(); ++i) {
        const corner piece[3] = {polygon[0], polygon[i], polygon[i + 1]};
        raster(view, skin, piece);
    }
}

// The vertex steps: clip position, and the texture coordinates and light
// from the eye-space position and normal.
corner vertex_corner(const Mat4& modelview, const Mat4& mvp, const Mat4& normal_matrix, const TGeoxVertex& v,
                     bool sphere_map) {
    const Vec3 p = {v.x, v.y, v.z};
    const Vec3 eye = transform_point(modelview, p);
    const double* m = mvp.m;
    corner c = {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14], m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15],
                v.u, v.v, 1};
    // Normals transform by the inverse transpose: row i of the inverse dotted with n.
    const double* q = normal_matrix.m;
    const Vec3 n = {static_cast<float>(q[0] * v.nx + q[1] * v.ny + q[2] * v.nz),
                    static_cast<float>(q[4] * v.nx + q[5] * v.ny + q[6] * v.nz),
                    static_cast<float>(q[8] * v.nx + q[9] * v.ny + q[10] * v.nz)};
    if (sphere_map) {
        // GL_SPHERE_MAP on the unnormalised normal, as the scenes leave GL_NORMALIZE off.
        const Vec3 to_vertex = normalised(eye);
        const Vec3 r = to_vertex - n * (2 * dot(n, to_vertex));
        const double scale = 2 * std::sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
        c.u = r.x / scale + 0.5;
        c.v = r.y / scale + 0.5;
    } else if (length(n) > 0) {
        c.light = 0.3 + 0.7 * std::fabs(dot(normalised(n), normalised(Vec3{0.4f, 0.6f, 0.7f})));
    }
    return c;
}

}  // namespace

mesh_view make_mesh_view(int width, int height, pixel background, double fov_degrees, double near,
                         double far, Vec3 eye, Vec3 target) {
    mesh_view view;
    view.width = width;
    view.height = height;
    view.colour.assign(static_cast<size_t>(width) * height, background);
    view.depth.assign(static_cast<size_t>(width) * height, 1.0f);
    view.projection = perspective(fov_degrees, static_cast<double>(width) / height, near, far);
    view.modelview = look_at(eye, target);
    return view;
}

void draw_mesh(mesh_view& view, const TGeoxData& mesh, const Mat4& placement, const texture& skin,
               bool sphere_map) {
    const Mat4 modelview = view.modelview * placement;
    const Mat4 mvp = view.projection * modelview;
    const Mat4 normal_matrix = inverse(modelview);
    for (const TGeoxFace& face : mesh.faces) {
        corner triangle[3];
        int k = 0;
        for (int32_t index : {face.i0, face.i1, face.i2}) {
            const TGeoxVertex& vertex = mesh.vertices[static_cast<size_t>(index)];
            triangle[k++] = vertex_corner(modelview, mvp, normal_matrix, vertex, sphere_map);
        }
        clip_and_raster(view, skin, triangle);
    }
}
