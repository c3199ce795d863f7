// The glyph atlas of the bitmap font: 16 x 16 cells, character c in column
// c mod 16 and row c div 16, white colour and the glyph shapes in the alpha
// image, rendered with FreeType from DejaVu Sans Bold.
#include <cstdio>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "textures.h"

namespace {

constexpr const char* font_path = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr int cell = 64;         // pixels per cell in the atlas
constexpr int oversample = 2;    // glyphs are rendered this much larger, then box-filtered
constexpr float em_share = 0.78f;   // the em square as a share of the cell
constexpr float max_ink = 0.64f;    // widest ink as a share of the cell; wider glyphs are narrowed
constexpr float cap_share = 0.73f;  // DejaVu's cap height as a share of the em
constexpr float descent_share = 0.24f;  // and its descender depth

struct Glyph {
    int width = 0, rows = 0, left = 0, top = 0;
    std::vector<unsigned char> coverage;
};

bool render(FT_Face face, unsigned long code, float squeeze, Glyph& glyph) {
    FT_Matrix matrix = {static_cast<FT_Fixed>(squeeze * 65536.0f), 0, 0, 0x10000};
    FT_Set_Transform(face, &matrix, nullptr);
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_NO_HINTING)) return false;
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.left = face->glyph->bitmap_left;
    glyph.top = face->glyph->bitmap_top;
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
    for (int y = 0; y < glyph.rows; ++y)
        for (int x = 0; x < glyph.width; ++x)
            glyph.coverage[static_cast<size_t>(y) * glyph.width + x] = bitmap.buffer[y * bitmap.pitch + x];
    return true;
}

// Unicode code point shown for an 8-bit character: printable ASCII and the
// Latin-1 letters; control codes stay empty.
bool printable(int c) { return (c >= 33 && c <= 126) || (c >= 161 && c <= 255); }

// Puts one glyph into its cell: ink centred horizontally, the span from cap
// height to descender centred vertically, box-filtered down from the
// oversampled rendering.
void place(Plane& alpha, int c, const Glyph& glyph) {
    const int big = cell * oversample;
    std::vector<float> tile(static_cast<size_t>(big) * big, 0.0f);
    const float cap = em_share * cap_share * static_cast<float>(big);
    const float descent = em_share * descent_share * static_cast<float>(big);
    const int baseline = static_cast<int>(static_cast<float>(big) * 0.5f + (cap + descent) * 0.5f - descent);
    const int x0 = (big - glyph.width) / 2, y0 = baseline - glyph.top;
    for (int y = 0; y < glyph.rows; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            const int tx = x0 + x, ty = y0 + y;
            if (tx < 0 || ty < 0 || tx >= big || ty >= big) continue;
            tile[static_cast<size_t>(ty) * big + tx] = glyph.coverage[static_cast<size_t>(y) * glyph.width + x] / 255.0f;
        }
    }
    const int cx = (c % 16) * cell, cy = (c / 16) * cell;
    // Keep two pixels of every cell border empty so linear filtering never
    // pulls in a neighbour.
    for (int y = 2; y < cell - 2; ++y) {
        for (int x = 2; x < cell - 2; ++x) {
            float sum = 0;
            for (int j = 0; j < oversample; ++j)
                for (int i = 0; i < oversample; ++i) sum += tile[static_cast<size_t>(y * oversample + j) * big + x * oversample + i];
            alpha.at(cx + x, cy + y) = sum / (oversample * oversample);
        }
    }
}

}  // namespace

bool write_font_atlas(const std::string& dir) {
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library)) {
        std::fprintf(stderr, "datagen: cannot start FreeType\n");
        return false;
    }
    if (FT_New_Face(library, font_path, 0, &face)) {
        std::fprintf(stderr, "datagen: cannot open the font %s (install fonts-dejavu-core)\n", font_path);
        FT_Done_FreeType(library);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em_share * cell * oversample));
    Canvas atlas = make_canvas(16 * cell, 16 * cell, {1, 1, 1});
    bool ok = true;
    for (int c = 0; c < 256 && ok; ++c) {
        if (!printable(c)) continue;
        Glyph glyph;
        ok = render(face, static_cast<unsigned long>(c), 1.0f, glyph);
        const float widest = max_ink * static_cast<float>(cell * oversample);
        if (ok && static_cast<float>(glyph.width) > widest) ok = render(face, static_cast<unsigned long>(c), widest / static_cast<float>(glyph.width), glyph);
        if (ok) place(atlas.alpha, c, glyph);
        else std::fprintf(stderr, "datagen: the font has no glyph for code %d\n", c);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ok && save_texture_pair(dir, "font", "font_alpha", atlas);
}
