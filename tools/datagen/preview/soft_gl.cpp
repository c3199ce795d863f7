// Triangle rasterisation with near-plane clipping, perspective-correct
// attributes, per-triangle mipmap choice and the fixed-function fragment
// steps, in the order OpenGL applies them.
#include "soft_gl.h"

#include <algorithm>
#include <cmath>

namespace {

struct Clip {
    double x, y, z, w;  // clip-space position
    float u, v;
    float eye_z;
    float light;
};

Rgba fetch(const Texture::Level& level, int x, int y) {
    x = ((x % level.width) + level.width) % level.width;
    y = ((y % level.height) + level.height) % level.height;
    return level.texels[static_cast<size_t>(y) * level.width + x];
}

Rgba sample(const Texture& texture, float u, float v, float lod) {
    const int index = std::clamp(static_cast<int>(std::lround(lod)), 0, static_cast<int>(texture.levels.size()) - 1);
    const Texture::Level& level = texture.levels[texture.nearest || !texture.mipmapped ? 0 : static_cast<size_t>(index)];
    const float x = u * level.width - 0.5f, y = v * level.height - 0.5f;
    if (texture.nearest) return fetch(level, static_cast<int>(std::floor(x + 0.5f)), static_cast<int>(std::floor(y + 0.5f)));
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const float fx = x - x0, fy = y - y0;
    Rgba r;
    const Rgba a = fetch(level, x0, y0), b = fetch(level, x0 + 1, y0), c = fetch(level, x0, y0 + 1), d = fetch(level, x0 + 1, y0 + 1);
    for (int i = 0; i < 4; ++i) r[i] = (a[i] * (1 - fx) + b[i] * fx) * (1 - fy) + (c[i] * (1 - fx) + d[i] * fx) * fy;
    return r;
}

Vec3 mul3(const Mat4& m, Vec3 p, double w) {
    return {static_cast<float>(m.m[0] * p.x + m.m[4] * p.y + m.m[8] * p.z + m.m[12] * w),
            static_cast<float>(m.m[1] * p.x + m.m[5] * p.y + m.m[9] * p.z + m.m[13] * w),
            static_cast<float>(m.m[2] * p.x + m.m[6] * p.y + m.m[10] * p.z + m.m[14] * w)};
}

// OpenGL's sphere map from the eye-space position and the (unnormalised,
// as without GL_NORMALIZE) eye-space normal.
void sphere_coords(Vec3 eye_p, Vec3 n, float& s, float& t) {
    const Vec3 u = normalised(eye_p);
    const Vec3 r = u - n * (2 * dot(n, u));
    const float m = 2 * std::sqrt(r.x * r.x + r.y * r.y + (r.z + 1) * (r.z + 1));
    s = r.x / m + 0.5f;
    t = r.y / m + 0.5f;
}

void raster(SoftGl& gl, const Clip* c) {
    // Screen positions (y down, like the frame buffer rows we store).
    double sx[3], sy[3], sz[3], iw[3];
    for (int i = 0; i < 3; ++i) {
        iw[i] = 1 / c[i].w;
        sx[i] = (c[i].x * iw[i] * 0.5 + 0.5) * gl.width;
        sy[i] = (0.5 - c[i].y * iw[i] * 0.5) * gl.height;
        sz[i] = c[i].z * iw[i] * 0.5 + 0.5;
    }
    const double area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
    if (std::fabs(area) < 1e-12) return;
    float lod = 0;
    if (gl.texture) {
        const auto& base = gl.texture->levels[0];
        const double uv_area = ((c[1].u - c[0].u) * (c[2].v - c[0].v) - (c[2].u - c[0].u) * (c[1].v - c[0].v)) *
                               static_cast<double>(base.width) * base.height;
        lod = static_cast<float>(std::max(0.0, 0.5 * std::log2(std::fabs(uv_area) / std::fabs(area) + 1e-30)));
    }
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({sx[0], sx[1], sx[2]}))));
    const int x1 = std::min(gl.width - 1, static_cast<int>(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({sy[0], sy[1], sy[2]}))));
    const int y1 = std::min(gl.height - 1, static_cast<int>(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            double b[3];
            b[0] = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
            b[1] = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
            b[2] = 1 - b[0] - b[1];
            if (b[0] < 0 || b[1] < 0 || b[2] < 0) continue;
            const double z = b[0] * sz[0] + b[1] * sz[1] + b[2] * sz[2];
            if (z < 0 || z > 1) continue;
            const size_t at = static_cast<size_t>(y) * gl.width + x;
            if (gl.depth_test && (gl.lequal ? z > gl.depth[at] : z >= gl.depth[at])) continue;
            const double q = b[0] * iw[0] + b[1] * iw[1] + b[2] * iw[2];
            const float u = static_cast<float>((b[0] * c[0].u * iw[0] + b[1] * c[1].u * iw[1] + b[2] * c[2].u * iw[2]) / q);
            const float v = static_cast<float>((b[0] * c[0].v * iw[0] + b[1] * c[1].v * iw[1] + b[2] * c[2].v * iw[2]) / q);
            Rgba frag = gl.tint;
            if (gl.shade) {
                const float light = static_cast<float>((b[0] * c[0].light * iw[0] + b[1] * c[1].light * iw[1] + b[2] * c[2].light * iw[2]) / q);
                for (int i = 0; i < 3; ++i) frag[i] *= light;
            }
            if (gl.texture) {
                const Rgba t = sample(*gl.texture, u, v, lod);
                for (int i = 0; i < 4; ++i) frag[i] *= t[i];
            }
            if (gl.alpha_test == AlphaTest::greater && !(frag[3] > gl.alpha_ref)) continue;
            if (gl.alpha_test == AlphaTest::gequal && !(frag[3] >= gl.alpha_ref)) continue;
            if (gl.fog) {
                const float eye_z = static_cast<float>((b[0] * c[0].eye_z * iw[0] + b[1] * c[1].eye_z * iw[1] + b[2] * c[2].eye_z * iw[2]) / q);
                const float f = std::clamp((gl.fog_end - std::fabs(eye_z)) / (gl.fog_end - gl.fog_start), 0.0f, 1.0f);
                for (int i = 0; i < 3; ++i) frag[i] = frag[i] * f + gl.fog_colour[static_cast<size_t>(i)] * (1 - f);
            }
            auto& dst = gl.colour[at];
            for (int i = 0; i < 3; ++i) {
                const float s = std::clamp(frag[i], 0.0f, 1.0f);
                const float a = std::clamp(frag[3], 0.0f, 1.0f);
                float out = s;
                if (gl.blend == Blend::add) out = dst[i] + s;
                if (gl.blend == Blend::alpha_add) out = dst[i] + s * a;
                if (gl.blend == Blend::alpha) out = dst[i] * (1 - a) + s * a;
                dst[static_cast<size_t>(i)] = std::min(out, 1.0f);
            }
            if (gl.depth_test && gl.depth_write) gl.depth[at] = static_cast<float>(z);
        }
    }
}

Clip lerp(const Clip& a, const Clip& b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t, a.w + (b.w - a.w) * t,
            static_cast<float>(a.u + (b.u - a.u) * t), static_cast<float>(a.v + (b.v - a.v) * t),
            static_cast<float>(a.eye_z + (b.eye_z - a.eye_z) * t), static_cast<float>(a.light + (b.light - a.light) * t)};
}

// Clips against the near plane (z > -w) and rasterises the pieces.
void clip_and_raster(SoftGl& gl, const Clip* tri) {
    std::vector<Clip> poly;
    for (int i = 0; i < 3; ++i) {
        const Clip& a = tri[i];
        const Clip& b = tri[(i + 1) % 3];
        const double da = a.z + a.w, db = b.z + b.w;
        if (da >= 0) poly.push_back(a);
        if ((da >= 0) != (db >= 0)) poly.push_back(lerp(a, b, da / (da - db)));
    }
    for (size_t i = 1; i + 1 < poly.size(); ++i) {
        const Clip piece[3] = {poly[0], poly[i], poly[i + 1]};
        raster(gl, piece);
    }
}

}  // namespace

Texture make_texture(int width, int height, std::vector<Rgba> texels) {
    Texture texture;
    texture.levels.push_back({width, height, std::move(texels)});
    while (texture.levels.back().width > 1 || texture.levels.back().height > 1) {
        const auto& prev = texture.levels.back();
        const int w = std::max(1, prev.width / 2), h = std::max(1, prev.height / 2);
        Texture::Level next{w, h, std::vector<Rgba>(static_cast<size_t>(w) * h)};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                Rgba sum = {0, 0, 0, 0};
                for (int j = 0; j < 2; ++j)
                    for (int i = 0; i < 2; ++i) {
                        const Rgba t = fetch(prev, std::min(prev.width - 1, 2 * x + i), std::min(prev.height - 1, 2 * y + j));
                        for (int k = 0; k < 4; ++k) sum[k] += t[k] * 0.25f;
                    }
                next.texels[static_cast<size_t>(y) * w + x] = sum;
            }
        texture.levels.push_back(std::move(next));
    }
    return texture;
}

SoftGl make_soft_gl(int width, int height) {
    SoftGl gl;
    gl.width = width;
    gl.height = height;
    gl.colour.assign(static_cast<size_t>(width) * height, {0, 0, 0});
    gl.depth.assign(static_cast<size_t>(width) * height, 1.0f);
    return gl;
}

void clear(SoftGl& gl, std::array<float, 3> colour) {
    std::fill(gl.colour.begin(), gl.colour.end(), colour);
    clear_depth(gl);
}

void clear_depth(SoftGl& gl) { std::fill(gl.depth.begin(), gl.depth.end(), 1.0f); }

void perspective(SoftGl& gl, double fov_degrees, double aspect, double near, double far) {
    const double f = 1 / std::tan(fov_degrees * 3.14159265358979 / 360);
    Mat4 m{};
    m.m[0] = f / aspect;
    m.m[5] = f;
    m.m[10] = (far + near) / (near - far);
    m.m[11] = -1;
    m.m[14] = 2 * far * near / (near - far);
    gl.projection = m;
}

void look_at(SoftGl& gl, Vec3 eye, Vec3 target, Vec3 up) {
    const Vec3 f = normalised(target - eye);
    const Vec3 s = normalised(cross(f, up));
    const Vec3 u = cross(s, f);
    Mat4 m = identity();
    m.m[0] = s.x, m.m[4] = s.y, m.m[8] = s.z;
    m.m[1] = u.x, m.m[5] = u.y, m.m[9] = u.z;
    m.m[2] = -f.x, m.m[6] = -f.y, m.m[10] = -f.z;
    gl.modelview = m * translation(-eye.x, -eye.y, -eye.z);
}

void push(SoftGl& gl) { gl.stack.push_back(gl.modelview); }

void pop(SoftGl& gl) {
    gl.modelview = gl.stack.back();
    gl.stack.pop_back();
}

void multiply(SoftGl& gl, const Mat4& m) { gl.modelview = gl.modelview * m; }

void draw_triangles(SoftGl& gl, const std::vector<Corner>& corners) {
    const Mat4 mvp = gl.projection * gl.modelview;
    const Mat4 normal_matrix = inverse(gl.modelview);
    for (size_t i = 0; i + 2 < corners.size(); i += 3) {
        Clip tri[3];
        for (int k = 0; k < 3; ++k) {
            const Corner& c = corners[i + static_cast<size_t>(k)];
            const Vec3 eye = mul3(gl.modelview, c.p, 1);
            const double* m = mvp.m;
            tri[k] = {m[0] * c.p.x + m[4] * c.p.y + m[8] * c.p.z + m[12], m[1] * c.p.x + m[5] * c.p.y + m[9] * c.p.z + m[13],
                      m[2] * c.p.x + m[6] * c.p.y + m[10] * c.p.z + m[14], m[3] * c.p.x + m[7] * c.p.y + m[11] * c.p.z + m[15],
                      c.u, c.v, eye.z, 1};
            // The normal transforms by the inverse transpose: row i of the
            // inverse dotted with n.
            const double* q = normal_matrix.m;
            const Vec3 n = {static_cast<float>(q[0] * c.n.x + q[1] * c.n.y + q[2] * c.n.z),
                            static_cast<float>(q[4] * c.n.x + q[5] * c.n.y + q[6] * c.n.z),
                            static_cast<float>(q[8] * c.n.x + q[9] * c.n.y + q[10] * c.n.z)};
            if (gl.sphere_map) sphere_coords(eye, n, tri[k].u, tri[k].v);
            if (gl.shade && length(n) > 0) tri[k].light = 0.3f + 0.7f * std::fabs(dot(normalised(n), normalised(Vec3{0.4f, 0.6f, 0.7f})));
        }
        clip_and_raster(gl, tri);
    }
}

void draw_quad(SoftGl& gl, const Corner& a, const Corner& b, const Corner& c, const Corner& d) {
    draw_triangles(gl, {a, b, c, a, c, d});
}
