// Float image helpers of the texture generator: creation, colour ramps,
// bilinear sampling, blurs, colour bleeding and layer compositing.
#include "image.h"

namespace {

int wrap_index(int i, int n) {
    const int m = i % n;
    return m < 0 ? m + n : m;
}

// One box pass of half-width r along a line of n values read with stride.
template <class T>
void box_line(T* data, int n, int stride, int r, bool wrap, std::vector<T>& scratch) {
    scratch.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) scratch[static_cast<size_t>(i)] = data[static_cast<size_t>(i) * stride];
    auto fetch = [&](int i) {
        const int j = wrap ? wrap_index(i, n) : std::clamp(i, 0, n - 1);
        return scratch[static_cast<size_t>(j)];
    };
    T sum{};
    for (int i = -r; i <= r; ++i) sum = sum + fetch(i);
    const float scale = 1.0f / static_cast<float>(2 * r + 1);
    for (int i = 0; i < n; ++i) {
        data[static_cast<size_t>(i) * stride] = sum * scale;
        sum = sum + fetch(i + r + 1) - fetch(i - r);
    }
}

template <class T>
void blur_grid(std::vector<T>& px, int width, int height, float radius, bool wrap) {
    // Three box passes of width w approximate a Gaussian of sigma radius.
    const int r = std::max(1, static_cast<int>(std::lround(std::sqrt(4.0f * radius * radius + 1.0f) - 1.0f) / 2));
    std::vector<T> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y) box_line(px.data() + static_cast<size_t>(y) * width, width, 1, r, wrap, scratch);
        for (int x = 0; x < width; ++x) box_line(px.data() + x, height, width, r, wrap, scratch);
    }
}

}  // namespace

Image make_image(int width, int height, Rgb fill) {
    return Image{width, height, std::vector<Rgb>(static_cast<size_t>(width) * height, fill)};
}

Plane make_plane(int width, int height, float fill) {
    return Plane{width, height, std::vector<float>(static_cast<size_t>(width) * height, fill)};
}

Canvas make_canvas(int width, int height, Rgb fill) {
    return Canvas{make_image(width, height, fill), make_plane(width, height)};
}

Rgb ramp(std::initializer_list<Stop> stops, float t) {
    const Stop* previous = stops.begin();
    if (t <= previous->at) return previous->colour;
    for (const Stop* s = stops.begin() + 1; s != stops.end(); ++s) {
        if (t <= s->at) return mix(previous->colour, s->colour, (t - previous->at) / (s->at - previous->at));
        previous = s;
    }
    return previous->colour;
}

Rgb sample(const Image& image, float u, float v) {
    const float x = u * static_cast<float>(image.width) - 0.5f;
    const float y = v * static_cast<float>(image.height) - 0.5f;
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
    auto get = [&](int i, int j) { return image.at(wrap_index(i, image.width), wrap_index(j, image.height)); };
    return mix(mix(get(x0, y0), get(x0 + 1, y0), fx), mix(get(x0, y0 + 1), get(x0 + 1, y0 + 1), fx), fy);
}

float sample(const Plane& plane, float u, float v) {
    const float x = u * static_cast<float>(plane.width) - 0.5f;
    const float y = v * static_cast<float>(plane.height) - 0.5f;
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
    auto get = [&](int i, int j) { return plane.at(wrap_index(i, plane.width), wrap_index(j, plane.height)); };
    return mixf(mixf(get(x0, y0), get(x0 + 1, y0), fx), mixf(get(x0, y0 + 1), get(x0 + 1, y0 + 1), fx), fy);
}

void blur(Image& image, float radius, bool wrap) { blur_grid(image.px, image.width, image.height, radius, wrap); }

void blur(Plane& plane, float radius, bool wrap) { blur_grid(plane.px, plane.width, plane.height, radius, wrap); }

void bleed_colour(Image& colour, const Plane& alpha) {
    const int w = colour.width, h = colour.height;
    std::vector<char> known(static_cast<size_t>(w) * h);
    Rgb total{0, 0, 0};
    int count = 0;
    for (size_t i = 0; i < known.size(); ++i) {
        known[i] = alpha.px[i] >= 0.5f;
        if (known[i]) {
            total = total + colour.px[i];
            ++count;
        }
    }
    const Rgb average = count ? total * (1.0f / static_cast<float>(count)) : Rgb{0, 0, 0};
    for (int pass = 0; pass < 24; ++pass) {
        std::vector<char> next = known;
        bool changed = false;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const size_t i = static_cast<size_t>(y) * w + x;
                if (known[i]) continue;
                Rgb sum{0, 0, 0};
                int n = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                        const size_t j = static_cast<size_t>(ny) * w + nx;
                        if (known[j]) {
                            sum = sum + colour.px[j];
                            ++n;
                        }
                    }
                }
                if (n) {
                    colour.px[i] = sum * (1.0f / static_cast<float>(n));
                    next[i] = 1;
                    changed = true;
                }
            }
        }
        known.swap(next);
        if (!changed) break;
    }
    for (size_t i = 0; i < known.size(); ++i)
        if (!known[i]) colour.px[i] = average;
}

void put_over(Canvas& canvas, int x, int y, Rgb c, float a) {
    Rgb& dst = canvas.colour.at(x, y);
    float& cover = canvas.alpha.at(x, y);
    dst = mix(dst, c, a);
    cover = cover + a * (1 - cover);
}

float polygon_distance(Vec2 p, const std::vector<Vec2>& points) {
    float best = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Vec2 a = points[j], b = points[i];
        best = std::min(best, segment_distance(p, a, b));
        if ((b.y > p.y) != (a.y > p.y) && p.x < (a.x - b.x) * (p.y - b.y) / (a.y - b.y) + b.x) inside = !inside;
    }
    return inside ? -best : best;
}

Stroke bezier_stroke(Vec2 a, Vec2 control, Vec2 b, float ra, float rb, int n) {
    Stroke stroke;
    for (int i = 0; i <= n; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(n);
        stroke.points.push_back(lerp(lerp(a, control, t), lerp(control, b, t), t));
        stroke.radii.push_back(mixf(ra, rb, t));
    }
    return stroke;
}

float stroke_distance(const Stroke& stroke, Vec2 p, float* along) {
    float best = 1e9f, best_along = 0;
    const size_t segments = stroke.points.size() - 1;
    for (size_t i = 0; i < segments; ++i) {
        float t = 0;
        const float d = segment_distance(p, stroke.points[i], stroke.points[i + 1], &t) -
                        mixf(stroke.radii[i], stroke.radii[i + 1], t);
        if (d < best) {
            best = d;
            best_along = (static_cast<float>(i) + t) / static_cast<float>(segments);
        }
    }
    if (along) *along = best_along;
    return best;
}

Box stroke_bounds(const Stroke& stroke) {
    Box box{1e9f, 1e9f, -1e9f, -1e9f};
    for (size_t i = 0; i < stroke.points.size(); ++i) {
        const Vec2 p = stroke.points[i];
        const float r = stroke.radii[i];
        box = {std::min(box.x0, p.x - r), std::min(box.y0, p.y - r), std::max(box.x1, p.x + r), std::max(box.y1, p.y + r)};
    }
    return box;
}
