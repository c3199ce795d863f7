// draw_text on the headless context: glyph cells and quad positions checked
// on rendered pixels with an atlas whose every cell has its own colour, the
// GL state the call leaves, and a picture of the real atlas when it exists.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "assets/qor_textures.h"
#include "engine/qor_font.h"
#include "engine/qor_views.h"
#include "support/gl_harness.h"

namespace {

constexpr int cell = 16;
constexpr uint8_t cell_blue = 200;
constexpr int transparent_code = 1;

// The colour of the cell in column c mod 16 and row c div 16.
rgb cell_colour(int code) {
    return rgb{static_cast<uint8_t>(code % 16 * cell + 8),
               static_cast<uint8_t>(code / 16 * cell + 8), cell_blue};
}

// 256x256 texels, 16x16 each cell, opaque except the cell of code 1.
uint32_t coded_atlas() {
    static uint32_t texture = 0;
    if (texture != 0) return texture;
    std::vector<uint8_t> texels(256 * 256 * 4);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const int code = y / cell * 16 + x / cell;
            const rgb c = cell_colour(code);
            uint8_t* t = &texels[(static_cast<size_t>(y) * 256 + x) * 4];
            t[0] = c.r;
            t[1] = c.g;
            t[2] = c.b;
            t[3] = code == transparent_code ? 0 : 255;
        }
    }
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texture;
}

bool same(rgb a, rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

std::string describe(rgb c) {
    return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

void expect_pixel(int x, int y, rgb expected) {
    const rgb got = overlay_pixel(x, y);
    EXPECT_TRUE(same(got, expected)) << "at " << x << "," << y << ": " << describe(got)
                                     << ", expected " << describe(expected);
}

const rgb black{0, 0, 0};

void save_frame(const char* name) {
    std::filesystem::create_directories("test_images");
    write_png(std::string("test_images/") + name, read_frame(), screen_width, screen_height);
}

class Font : public ::testing::Test {
protected:
    void SetUp() override {
        gl_harness_init();
        glEnable(GL_TEXTURE_2D);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
};

}  // namespace

TEST_F(Font, LoadingLineGlyphsSitInTheirCellsCentredOnTheScreen) {
    const char* text = "loading";
    draw_text(text, coded_atlas(), 320, 240, 30, 30, 30, 1, 1, 1, 1);
    save_frame("font_coded_loading.png");
    for (int i = 0; i < 7; ++i) {
        const int centre = 230 + 30 * i;
        expect_pixel(centre, 240, cell_colour(text[i]));
        // Each quad spans 30 pixels around its centre.
        expect_pixel(centre - 15, 225, cell_colour(text[i]));
        expect_pixel(centre + 14, 254, cell_colour(text[i]));
    }
    expect_pixel(214, 240, black);
    expect_pixel(425, 240, black);
    expect_pixel(320, 224, black);
    expect_pixel(320, 255, black);
}

TEST_F(Font, TopAndBottomCornerCells) {
    draw_text("\xff", coded_atlas(), 100, 100, 16, 16, 16, 1, 1, 1, 1);
    expect_pixel(100, 100, cell_colour(255));
    EXPECT_TRUE(same(cell_colour(255), rgb{248, 248, cell_blue}));
    draw_text(" ", coded_atlas(), 200, 100, 16, 16, 16, 1, 1, 1, 1);
    expect_pixel(200, 100, rgb{8, 40, cell_blue});  // a blank: column 0 of row 2
    draw_text("\x10", coded_atlas(), 300, 100, 16, 16, 16, 1, 1, 1, 1);
    expect_pixel(300, 100, rgb{8, 24, cell_blue});
}

TEST_F(Font, OneGlyphIsCentredOnThePointWhateverTheAdvance) {
    draw_text("A", coded_atlas(), 50, 60, 10, 20, 99, 1, 1, 1, 1);
    expect_pixel(45, 50, cell_colour('A'));
    expect_pixel(54, 69, cell_colour('A'));
    expect_pixel(44, 60, black);
    expect_pixel(55, 60, black);
    expect_pixel(50, 49, black);
    expect_pixel(50, 70, black);
}

TEST_F(Font, OverlappingGlyphsDrawInTextOrder) {
    // Width 20, advance 10: centres 95 and 105, the second over the first.
    draw_text("AB", coded_atlas(), 100, 100, 20, 20, 10, 1, 1, 1, 1);
    expect_pixel(86, 100, cell_colour('A'));
    expect_pixel(100, 100, cell_colour('B'));
    expect_pixel(114, 100, cell_colour('B'));
    expect_pixel(115, 100, black);
}

TEST_F(Font, ColourTintsTheGlyphAndAlphaBlendsIt) {
    draw_text("A", coded_atlas(), 100, 100, 16, 16, 16, 0.5f, 1, 0, 1);
    const rgb a = cell_colour('A');
    const rgb tinted = overlay_pixel(100, 100);
    EXPECT_NEAR(tinted.r, a.r / 2, 1);
    EXPECT_EQ(tinted.g, a.g);
    EXPECT_EQ(tinted.b, 0);

    // Alpha 0 and the transparent cell leave the picture as it was.
    glClearColor(0.2f, 0.4f, 0.6f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const std::vector<uint8_t> before = read_frame();
    draw_text("loading", coded_atlas(), 320, 240, 30, 30, 30, 1, 1, 1, 0);
    draw_text("\x01\x01", coded_atlas(), 320, 240, 30, 30, 30, 1, 1, 1, 1);
    EXPECT_TRUE(read_frame() == before);
}

TEST_F(Font, LeavesTheStateItPromises) {
    for (const char* text : {"", "loading"}) {
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glColor4f(1, 0, 0, 0.5f);
        glBindTexture(GL_TEXTURE_2D, 0);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_TEXTURE);

        draw_text(text, coded_atlas(), 320, 240, 30, 30, 30, 0.5f, 0.5f, 0.5f, 1);

        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << '"' << text << '"';
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        GLint value = 0;
        glGetIntegerv(GL_BLEND_SRC, &value);
        EXPECT_EQ(value, GL_SRC_ALPHA);
        glGetIntegerv(GL_BLEND_DST, &value);
        EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
        EXPECT_EQ(static_cast<uint32_t>(value), coded_atlas());
        glGetIntegerv(GL_MATRIX_MODE, &value);
        EXPECT_EQ(value, GL_MODELVIEW);
        GLfloat colour[4], modelview[16], projection[16];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        for (float c : colour) EXPECT_EQ(c, 1);
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(modelview[i], i % 5 == 0 ? 1 : 0);
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        EXPECT_FLOAT_EQ(projection[0], 2.0f / screen_width);
        EXPECT_FLOAT_EQ(projection[5], -2.0f / screen_height) << "y grows downwards";
        EXPECT_FLOAT_EQ(projection[12], -1);
        EXPECT_FLOAT_EQ(projection[13], 1);
    }
}

TEST_F(Font, RealAtlasPicture) {
    const std::string data = std::string(TROF_BUILD_DIR) + "/data/";
    if (!std::filesystem::exists(data + "font.jpg")) GTEST_SKIP() << "no generated font atlas yet";
    const uint32_t font = load_texture_alpha((data + "font.jpg").c_str(),
                                             (data + "font_alpha.jpg").c_str(), GL_LINEAR,
                                             GL_LINEAR);
    draw_text("loading", font, 320, 240, 30, 30, 30, 0.5f, 0.5f, 0.5f, 1);
    draw_text("quor vane : digital art festival", font, 320, 440, 16, 16, 11, 1, 1, 1, 0.51f);
    draw_text("ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789", font, 320, 100, 16, 16, 14, 1, 1, 1, 1);
    save_frame("font_real_atlas.png");
    // Some of the grey line is ink, and none of it is brighter than its colour.
    int ink = 0;
    for (int x = 215; x < 425; ++x) {
        const rgb p = overlay_pixel(x, 240);
        EXPECT_LE(p.r, 129);
        if (p.r > 60) ++ink;
    }
    EXPECT_GT(ink, 10);
}
