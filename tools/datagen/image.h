// Float RGB images and single-channel planes for the texture generator, with
// the compositing, filtering and 2D distance helpers the artwork is made of.
#pragma once

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

struct Rgb {
    float r, g, b;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb mix(Rgb a, Rgb b, float t) { return a + (b - a) * t; }

inline float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float smoothstep(float e0, float e1, float v) {
    const float t = clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline float mixf(float a, float b, float t) { return a + (b - a) * t; }

constexpr float pi = 3.14159265358979f;

struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> px;
    Rgb& at(int x, int y) { return px[static_cast<size_t>(y) * width + x]; }
    Rgb at(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
};

struct Plane {
    int width = 0, height = 0;
    std::vector<float> px;
    float& at(int x, int y) { return px[static_cast<size_t>(y) * width + x]; }
    float at(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
};

// A colour picture with its coverage, painted in layers.
struct Canvas {
    Image colour;
    Plane alpha;
};

Image make_image(int width, int height, Rgb fill = {0, 0, 0});
Plane make_plane(int width, int height, float fill = 0);
Canvas make_canvas(int width, int height, Rgb fill = {0, 0, 0});

// Piecewise-linear colour ramp over stops given as (position, colour).
struct Stop {
    float at;
    Rgb colour;
};
Rgb ramp(std::initializer_list<Stop> stops, float t);

// Bilinear lookups with wrap-around, u and v in texture units.
Rgb sample(const Image& image, float u, float v);
float sample(const Plane& plane, float u, float v);

// Approximate Gaussian blur (three box passes) of the given radius in
// pixels, wrapping around the edges or clamping at them.
void blur(Image& image, float radius, bool wrap);
void blur(Plane& plane, float radius, bool wrap);

// Spreads the colour of covered pixels (alpha >= 0.5) into the uncovered
// ones, so that filtering at cut-out edges never pulls in a foreign colour.
void bleed_colour(Image& colour, const Plane& alpha);

// Puts colour c with coverage a over a pixel of the canvas.
void put_over(Canvas& canvas, int x, int y, Rgb c, float a);

// Pixel centre of (x, y) in units where the whole image spans [0, 1].
inline float unit_x(const Image& image, int x) { return (static_cast<float>(x) + 0.5f) / static_cast<float>(image.width); }
inline float unit_y(const Image& image, int y) { return (static_cast<float>(y) + 0.5f) / static_cast<float>(image.height); }

// Runs shade(x, y, u, v) for every pixel, u and v the unit coordinates.
template <class F>
void for_each_pixel(const Image& image, F shade) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) shade(x, y, unit_x(image, x), unit_y(image, y));
}

// Paints one shape given by a signed distance (negative inside, in unit
// coordinates) over the canvas inside the unit box [x0, x1] x [y0, y1];
// colour(u, v, d) gives the colour at each covered pixel. With wrap the box
// may cross the edges and the shape continues on the opposite side, as a
// tiling texture needs.
template <class Sdf, class Colour>
void paint_shape(Canvas& canvas, float x0, float y0, float x1, float y1, Sdf sdf, Colour colour,
                 float opacity = 1, bool wrap = false) {
    const Image& image = canvas.colour;
    const float width = static_cast<float>(image.width), height = static_cast<float>(image.height);
    const float aa = 1.0f / width;
    int px0 = static_cast<int>(std::floor(x0 * width)) - 1;
    int px1 = static_cast<int>(std::ceil(x1 * width)) + 1;
    int py0 = static_cast<int>(std::floor(y0 * height)) - 1;
    int py1 = static_cast<int>(std::ceil(y1 * height)) + 1;
    if (!wrap) {
        px0 = std::max(px0, 0);
        py0 = std::max(py0, 0);
        px1 = std::min(px1, image.width - 1);
        py1 = std::min(py1, image.height - 1);
    }
    for (int y = py0; y <= py1; ++y) {
        for (int x = px0; x <= px1; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / width;
            const float v = (static_cast<float>(y) + 0.5f) / height;
            const float d = sdf(u, v);
            const float a = clamp01(0.5f - d / aa) * opacity;
            if (a <= 0) continue;
            const int wx = (x % image.width + image.width) % image.width;
            const int wy = (y % image.height + image.height) % image.height;
            put_over(canvas, wx, wy, colour(u, v, d), a);
        }
    }
}

// Signed distances of 2D primitives (negative inside).
struct Vec2 {
    float x, y;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
inline float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float length(Vec2 a) { return std::sqrt(dot(a, a)); }
inline Vec2 lerp(Vec2 a, Vec2 b, float t) { return a + (b - a) * t; }
inline Vec2 rotate(Vec2 p, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return {c * p.x - s * p.y, s * p.x + c * p.y};
}

// Distance from p to the segment a-b, and the position along it in [0, 1].
inline float segment_distance(Vec2 p, Vec2 a, Vec2 b, float* along = nullptr) {
    const Vec2 ab = b - a;
    const float t = std::clamp(dot(p - a, ab) / std::max(dot(ab, ab), 1e-12f), 0.0f, 1.0f);
    if (along) *along = t;
    return length(p - (a + ab * t));
}
// A segment with a radius that changes linearly from ra at a to rb at b.
inline float tapered_capsule(Vec2 p, Vec2 a, Vec2 b, float ra, float rb) {
    float t = 0;
    const float d = segment_distance(p, a, b, &t);
    return d - mixf(ra, rb, t);
}
inline float ellipse_distance(Vec2 p, Vec2 centre, float rx, float ry) {
    const Vec2 q = {(p.x - centre.x) / rx, (p.y - centre.y) / ry};
    return (length(q) - 1) * std::min(rx, ry);
}
// Distance to a closed polygon (sign from the even-odd rule).
float polygon_distance(Vec2 p, const std::vector<Vec2>& points);

// A tapered polyline: the union of capsules between consecutive points.
struct Stroke {
    std::vector<Vec2> points;
    std::vector<float> radii;
};
// Samples the quadratic Bezier a-control-b into n segments, the radius
// changing linearly from ra to rb.
Stroke bezier_stroke(Vec2 a, Vec2 control, Vec2 b, float ra, float rb, int n);
// Signed distance to the stroke; along receives the position of the
// nearest point as a fraction of the whole stroke.
float stroke_distance(const Stroke& stroke, Vec2 p, float* along = nullptr);
// The unit box that holds the stroke: x0, y0, x1, y1.
struct Box {
    float x0, y0, x1, y1;
};
Box stroke_bounds(const Stroke& stroke);
