// Boxes against the view volume in clip space, and triangles against the
// pixel centres in window space, computed in double from the GL's own
// matrices, viewport and scissor box.
#include "engine/view_volume.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numbers>

#include "assets/qor_geox.h"

view_bounds empty_bounds() {
    view_bounds box;
    box.lo.fill(std::numeric_limits<float>::infinity());
    box.hi.fill(-std::numeric_limits<float>::infinity());
    return box;
}

void widen(view_bounds& box, float x, float y, float z) {
    const float p[3] = {x, y, z};
    for (size_t k = 0; k < 3; ++k) {
        box.lo[k] = std::min(box.lo[k], p[k]);
        box.hi[k] = std::max(box.hi[k], p[k]);
    }
}

void widen(view_bounds& box, const view_bounds& part) {
    for (size_t k = 0; k < 3; ++k) {
        box.lo[k] = std::min(box.lo[k], part.lo[k]);
        box.hi[k] = std::max(box.hi[k], part.hi[k]);
    }
}

view_bounds padded(view_bounds box, float margin, float extra_height) {
    for (size_t k = 0; k < 3; ++k) {
        const float pad = margin + (k == 1 ? extra_height : 0);
        box.lo[k] -= pad;
        box.hi[k] += pad;
    }
    return box;
}

view_bounds mesh_bounds(const TGeoxData& mesh, float margin) {
    view_bounds box = empty_bounds();
    for (const TGeoxVertex& v : mesh.vertices) widen(box, v.x, v.y, v.z);
    return padded(box, margin, 0);
}

clip_matrix current_projection() {
    clip_matrix projection;
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    return projection;
}

namespace {

// Corner k of the box (0 ... 7): bits 0, 1, 2 pick the high side of x, y, z.
std::array<double, 3> box_corner(const view_bounds& box, unsigned k) {
    return {(k & 1) != 0 ? box.hi[0] : box.lo[0], (k & 2) != 0 ? box.hi[1] : box.lo[1],
            (k & 4) != 0 ? box.hi[2] : box.lo[2]};
}

clip_matrix multiplied(const clip_matrix& a, const clip_matrix& b) {
    clip_matrix product;
    for (size_t column = 0; column < 4; ++column) {
        for (size_t row = 0; row < 4; ++row) {
            double sum = 0;
            for (size_t k = 0; k < 4; ++k) sum += a[4 * k + row] * b[4 * column + k];
            product[4 * column + row] = sum;
        }
    }
    return product;
}

}  // namespace

clip_matrix current_clip_matrix(const clip_matrix& projection) {
    clip_matrix modelview;
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    return multiplied(projection, modelview);
}

clip_matrix identity_matrix() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

void translate(clip_matrix& m, double x, double y, double z) {
    m = multiplied(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1});
}

void rotate(clip_matrix& m, double degrees, double x, double y, double z) {
    const double length = std::sqrt(x * x + y * y + z * z);
    x /= length;
    y /= length;
    z /= length;
    const double radians = degrees * std::numbers::pi / 180;
    const double c = std::cos(radians), s = std::sin(radians), d = 1 - c;
    m = multiplied(m, {x * x * d + c, y * x * d + z * s, x * z * d - y * s, 0,
                       x * y * d - z * s, y * y * d + c, y * z * d + x * s, 0,
                       x * z * d + y * s, y * z * d - x * s, z * z * d + c, 0,
                       0, 0, 0, 1});
}

void scale(clip_matrix& m, double x, double y, double z) {
    m = multiplied(m, {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1});
}

view_bounds transformed_bounds(const view_bounds& box, const clip_matrix& m, float margin) {
    view_bounds moved = empty_bounds();
    for (unsigned corner = 0; corner < 8; ++corner) {
        const auto [x, y, z] = box_corner(box, corner);
        widen(moved, static_cast<float>(m[0] * x + m[4] * y + m[8] * z + m[12]),
              static_cast<float>(m[1] * x + m[5] * y + m[9] * z + m[13]),
              static_cast<float>(m[2] * x + m[6] * y + m[10] * z + m[14]));
    }
    return padded(moved, margin, 0);
}

bool outside_view(const clip_matrix& m, const view_bounds& box) {
    unsigned beyond_all = 0x1f;
    bool in_front = false, behind = false;
    for (unsigned corner = 0; corner < 8; ++corner) {
        const auto [x, y, z] = box_corner(box, corner);
        const double cx = m[0] * x + m[4] * y + m[8] * z + m[12];
        const double cy = m[1] * x + m[5] * y + m[9] * z + m[13];
        const double cz = m[2] * x + m[6] * y + m[10] * z + m[14];
        const double cw = m[3] * x + m[7] * y + m[11] * z + m[15];
        (cw > 0 ? in_front : behind) = true;
        const unsigned beyond = (cx < -cw ? 1u : 0u) | (cx > cw ? 2u : 0u) |
                                (cy < -cw ? 4u : 0u) | (cy > cw ? 8u : 0u) |
                                (cz < -cw ? 16u : 0u);
        beyond_all &= beyond;
    }
    return beyond_all != 0 && !(in_front && behind);
}

namespace {

// A twentieth of a pixel; the float transform and the GL's 1/256-pixel
// snapping move a corner by well under a hundredth.
constexpr float centre_margin = 0.05f;
// Corners this close to the eye plane are never judged (the clipper works there).
constexpr double least_w = 1e-3;
// Window coordinates are clamped to this before rounding to an integer,
// which leaves every range that touches the viewport as it is.
constexpr double farthest_pixel = 1e9;

// floor and ceil of a clamped value through the integer conversion, which
// truncates towards zero: the same integers as std::floor and std::ceil,
// without a library call per corner.
int floor_clamped(double v) {
    v = std::clamp(v, -farthest_pixel, farthest_pixel);
    const int i = static_cast<int>(v);
    return i - (i > v ? 1 : 0);
}

int ceil_clamped(double v) {
    v = std::clamp(v, -farthest_pixel, farthest_pixel);
    const int i = static_cast<int>(v);
    return i + (i < v ? 1 : 0);
}

// The centres i + 0.5 within [lo, hi] grown by the margin, as the range of
// i clamped to least ... most; first > last when there is none.
void centres_within(float lo, float hi, int least, int most, int& first, int& last) {
    first = std::max(least, ceil_clamped(double{lo} - centre_margin - 0.5));
    last = std::min(most, floor_clamped(double{hi} + centre_margin - 0.5));
}

// Twice the signed area of (a, b, q): which side of the edge a -> b q lies on.
double edge(const window_point& a, const window_point& b, double qx, double qy) {
    return (double{b.x} - a.x) * (qy - a.y) - (double{b.y} - a.y) * (qx - a.x);
}

// True unless the centre lies outside the triangle by more than the margin
// beyond one of its edges (measured across the edge).
bool may_cover(const window_point& a, const window_point& b, const window_point& c, double area,
               double qx, double qy) {
    const window_point* corners[3] = {&a, &b, &c};
    for (int k = 0; k < 3; ++k) {
        const window_point& p = *corners[k];
        const window_point& q = *corners[(k + 1) % 3];
        const double inside = edge(p, q, qx, qy) * (area > 0 ? 1 : -1);
        if (inside >= 0) continue;
        // Beyond the edge by inside / length; squared, to spare the root.
        const double dx = double{q.x} - p.x, dy = double{q.y} - p.y;
        if (inside * inside > double{centre_margin} * centre_margin * (dx * dx + dy * dy)) return false;
    }
    return true;
}

// Triangles whose box holds more centres than this are taken as covering one.
constexpr int most_centres_tested = 4;
// Below this doubled area (in square pixels) a triangle is never judged.
constexpr double least_area = 1e-6;

bool misses_every_pixel_centre(const window_point& a, const window_point& b, const window_point& c,
                               const window_area& area) {
    if (!a.in_front || !b.in_front || !c.in_front) return false;
    int x0, x1, y0, y1;
    centres_within(std::min({a.x, b.x, c.x}), std::max({a.x, b.x, c.x}), area.first_column,
                   area.last_column, x0, x1);
    if (x0 > x1) return true;
    centres_within(std::min({a.y, b.y, c.y}), std::max({a.y, b.y, c.y}), area.first_row,
                   area.last_row, y0, y1);
    if (y0 > y1) return true;
    const double doubled_area = edge(a, b, c.x, c.y);
    const int centres = (x1 - x0 + 1) * (y1 - y0 + 1);
    if (centres > most_centres_tested || std::fabs(doubled_area) < least_area) return false;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (may_cover(a, b, c, doubled_area, x + 0.5, y + 0.5)) return false;
        }
    }
    return true;
}

}  // namespace

window_area current_window_area() {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    window_area area{viewport[2], viewport[3], 0, viewport[2] - 1, 0, viewport[3] - 1};
    if (glIsEnabled(GL_SCISSOR_TEST)) {
        GLint box[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_SCISSOR_BOX, box);
        area.first_column = std::max(area.first_column, box[0]);
        area.last_column = std::min(area.last_column, box[0] + box[2] - 1);
        area.first_row = std::max(area.first_row, box[1]);
        area.last_row = std::min(area.last_row, box[1] + box[3] - 1);
    }
    return area;
}

void project_to_window(const clip_matrix& m, const std::vector<TGeoxVertex>& vertices,
                       const window_area& area, window_projection& projection) {
    projection.area = area;
    const double half_width = area.width / 2.0, half_height = area.height / 2.0;
    std::vector<window_point>& points = projection.points;
    points.resize(vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i) {
        const double x = vertices[i].x, y = vertices[i].y, z = vertices[i].z;
        const double cx = m[0] * x + m[4] * y + m[8] * z + m[12];
        const double cy = m[1] * x + m[5] * y + m[9] * z + m[13];
        const double cw = m[3] * x + m[7] * y + m[11] * z + m[15];
        window_point& p = points[i];
        p.in_front = cw > least_w;
        p.x = p.in_front ? static_cast<float>((cx / cw + 1) * half_width) : 0;
        p.y = p.in_front ? static_cast<float>((cy / cw + 1) * half_height) : 0;
    }
}

void keep_faces_that_may_cover(const window_projection& projection, const unsigned* first,
                               const unsigned* last, std::vector<unsigned>& kept) {
    const window_point* points = projection.points.data();
    for (const unsigned* face = first; face + 3 <= last; face += 3) {
        if (misses_every_pixel_centre(points[face[0]], points[face[1]], points[face[2]],
                                      projection.area)) {
            continue;
        }
        kept.insert(kept.end(), face, face + 3);
    }
}
