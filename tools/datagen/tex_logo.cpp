// The festival logo shown 40 pixels wide in the bottom bar: the interlocking
// QV monogram in the festival's blue and white on a dark badge.
#include <cmath>

#include "logo_shape.h"
#include "textures.h"

namespace {

// Logo units per unit of the picture: the mark fills about 85 % of it.
constexpr float logo_zoom = 2.35f;

Vec2 to_logo(float u, float v) { return {(u - 0.5f) * logo_zoom, (0.5f - v) * logo_zoom}; }

Image logo_picture() {
    const int size = 256;
    Image image = make_image(size, size);
    const float aa = logo_zoom / size;
    for_each_pixel(image, [&](int x, int y, float u, float v) {
        const Vec2 p = to_logo(u, v);
        const float r = length(p);
        const Rgb badge = mix(Rgb{0.03f, 0.07f, 0.18f}, Rgb{0.0f, 0.0f, 0.02f}, smoothstep(0.2f, 1.15f, r));
        const float badge_cover = 1 - smoothstep(1.12f, 1.12f + aa, r);
        Rgb c = badge * badge_cover;
        const float q = logo_distance(p), vd = logo_v_distance(p);
        const Rgb blue = mix(Rgb{0.0f, 0.35f, 0.95f}, Rgb{0.35f, 0.85f, 1.0f}, clamp01(0.5f + p.y * 0.6f));
        const Rgb white = mix(Rgb{0.80f, 0.88f, 1.0f}, Rgb{1.0f, 1.0f, 1.0f}, clamp01(0.5f + p.y * 0.6f));
        c = mix(c, blue, clamp01(0.5f - q / aa));
        // A dark gap round the V lets it pass over the ring.
        c = mix(c, badge * badge_cover, clamp01(0.5f - (vd - 0.06f) / aa));
        c = mix(c, white, clamp01(0.5f - vd / aa));
        image.at(x, y) = c;
    });
    blur(image, 0.8f, false);
    return image;
}

}  // namespace

bool write_logo_texture(const std::string& dir) { return save_texture(dir, "qvlogo", logo_picture()); }
