// The render targets and screen effects on real frames: a copied frame drawn
// back pixel for pixel, the blur with weights 0, 135 and 256 on known
// squares, the glow chain of a finished frame, and the GL state they leave;
// the pixel-centre test that culling relies on, against the rasterizer.
// glWindowPos2i (OpenGL 1.4) places test pictures at exact pixels.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <numeric>
#include <string>
#include <vector>

#include "assets/qor_geox.h"
#include "engine/qor_views.h"
#include "engine/render_targets.h"
#include "engine/view_volume.h"
#include "support/gl_harness.h"

// Heap allocations made by this process's C++ code; the blur must not add
// any. AddressSanitizer brings its own operator new, so there the count and
// its test are left out.
#ifndef __SANITIZE_ADDRESS__
#define COUNTS_ALLOCATIONS 1
namespace {
size_t allocations = 0;
}  // namespace

// None of the three is inlined: GCC would take the pairing of malloc and
// free behind them for a mismatched new and delete.
[[gnu::noinline]] void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#endif

namespace {

constexpr int glow_size = 128;

void save_frame(const char* name, const std::vector<uint8_t>& frame) {
    std::filesystem::create_directories("test_images");
    write_png(std::string("test_images/") + name, frame, screen_width, screen_height);
}

// Writes RGB rows (top row first) at overlay (x, y) with glDrawPixels.
void put_pixels(int x, int y, int width, int height, const std::vector<uint8_t>& rows) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelZoom(1, -1);
    glWindowPos2i(x, screen_height - y);
    glDrawPixels(width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    glPixelZoom(1, 1);
    glEnable(GL_TEXTURE_2D);
}

void clear_to(float r, float g, float b) {
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// A busy 640x480 picture: gradients, a checker and a bright block.
std::vector<uint8_t> test_picture() {
    std::vector<uint8_t> rows(static_cast<size_t>(screen_width) * screen_height * 3);
    for (int y = 0; y < screen_height; ++y) {
        for (int x = 0; x < screen_width; ++x) {
            uint8_t* p = &rows[(static_cast<size_t>(y) * screen_width + x) * 3];
            const bool bright = x >= 300 && x < 340 && y >= 200 && y < 240;
            p[0] = static_cast<uint8_t>(bright ? 255 : x * 255 / 639 / 3);
            p[1] = static_cast<uint8_t>(bright ? 255 : ((x / 8 + y / 8) % 2) * 40);
            p[2] = static_cast<uint8_t>(bright ? 255 : y * 255 / 479 / 3);
        }
    }
    return rows;
}

// glow_texture as RGB rows, row 0 the bottom of the square.
std::vector<uint8_t> glow_texels() {
    std::vector<uint8_t> texels(glow_size * glow_size * 3);
    glBindTexture(GL_TEXTURE_2D, glow_texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

// The top-left 128x128 screen square as the blur reads it: rows bottom-up.
std::vector<uint8_t> screen_square() {
    std::vector<uint8_t> square(glow_size * glow_size * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, screen_height - glow_size, glow_size, glow_size, GL_RGB, GL_UNSIGNED_BYTE,
                 square.data());
    return square;
}

// One line of 128 values, first + k * stride, filtered forwards and back.
void reference_line(double* first, int stride, double w) {
    for (int k = 1; k < glow_size; ++k) {
        first[k * stride] = w * first[(k - 1) * stride] + (1 - w) * first[k * stride];
    }
    for (int k = glow_size - 2; k >= 0; --k) {
        first[k * stride] = w * first[(k + 1) * stride] + (1 - w) * first[k * stride];
    }
}

// The four-direction recursive filter in exact arithmetic, as a reference
// for the integer blur: every column first, then every row.
std::vector<double> reference_blur(const std::vector<uint8_t>& square, double w) {
    std::vector<double> p(square.begin(), square.end());
    const int row = glow_size * 3;
    for (int i = 0; i < row; ++i) reference_line(&p[i], row, w);
    for (int r = 0; r < glow_size; ++r) {
        for (int c = 0; c < 3; ++c) reference_line(&p[r * row + c], 3, w);
    }
    return p;
}

class RenderTargets : public ::testing::Test {
protected:
    void SetUp() override {
        gl_harness_init();
        static bool created = false;
        if (!created) create_render_targets();
        created = true;
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        glColor4f(1, 1, 1, 1);
    }
};

}  // namespace

TEST_F(RenderTargets, SixBlackTargetsOfTheirSizes) {
    std::vector<uint32_t> names(screen_targets, screen_targets + screen_target_count);
    names.push_back(glow_source);
    names.push_back(glow_texture);
    const int sizes[6][2] = {{1024, 512}, {1024, 512}, {1024, 512},
                             {1024, 512}, {256, 256},  {128, 128}};
    for (size_t i = 0; i < names.size(); ++i) {
        ASSERT_NE(names[i], 0u);
        glBindTexture(GL_TEXTURE_2D, names[i]);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        EXPECT_EQ(width, sizes[i][0]) << "target " << i;
        EXPECT_EQ(height, sizes[i][1]) << "target " << i;
        EXPECT_EQ(std::count(names.begin(), names.end(), names[i]), 1);
    }
}

TEST_F(RenderTargets, CopiedFrameDrawnFullComesBackPixelForPixel) {
    const std::vector<uint8_t> picture = test_picture();
    put_pixels(0, 0, screen_width, screen_height, picture);
    ASSERT_TRUE(read_frame() == picture);
    copy_screen(screen_targets[2]);
    clear_to(0, 0, 0);
    draw_target_full();
    EXPECT_TRUE(read_frame() == picture);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(RenderTargets, ShrunkCopiesLandInTheTopLeftCorner) {
    put_pixels(0, 0, screen_width, screen_height, test_picture());
    copy_screen(screen_targets[2]);
    clear_to(0, 0, 0);
    draw_target_256();
    // The bright block (300..340, 200..240) shrinks by 0.4 in x, 8/15 in y.
    const rgb block = overlay_pixel(128, 117);
    EXPECT_GT(block.g, 250);
    EXPECT_GT(overlay_pixel(255, 255).r, 60) << "the bottom-right of the frame";
    EXPECT_EQ(overlay_pixel(256, 100).r, 0) << "nothing right of the square";
    EXPECT_EQ(overlay_pixel(100, 256).r, 0) << "nothing below it";
    copy_glow_source();
    clear_to(0, 0, 0);
    draw_glow_source_128();
    EXPECT_GT(overlay_pixel(64, 58).g, 250);
    EXPECT_EQ(overlay_pixel(128, 50).r, 0);
    EXPECT_EQ(overlay_pixel(50, 128).r, 0);
}

TEST_F(RenderTargets, BlurWeightZeroUploadsTheSquareUnchanged) {
    put_pixels(0, 0, screen_width, screen_height, test_picture());
    const std::vector<uint8_t> square = screen_square();
    blur_glow(0);
    EXPECT_TRUE(glow_texels() == square);
    blur_glow(-40);
    EXPECT_TRUE(glow_texels() == square) << "weights below 0 count as 0";
}

TEST_F(RenderTargets, BlurWeight256SpreadsTheBottomLeftPixelEverywhere) {
    std::vector<uint8_t> square(glow_size * glow_size * 3, 90);
    uint8_t* bottom_left = &square[(glow_size - 1) * glow_size * 3];
    bottom_left[0] = 10;
    bottom_left[1] = 200;
    bottom_left[2] = 30;
    put_pixels(0, 0, glow_size, glow_size, square);
    for (int weight : {256, 1000}) {
        blur_glow(weight);
        const std::vector<uint8_t> texels = glow_texels();
        for (size_t i = 0; i < texels.size(); i += 3) {
            ASSERT_EQ(texels[i], 10) << "weight " << weight << " texel " << i / 3;
            ASSERT_EQ(texels[i + 1], 200);
            ASSERT_EQ(texels[i + 2], 30);
        }
    }
}

TEST_F(RenderTargets, BlurWeight135SpreadsAWhitePixelInAllFourDirections) {
    clear_to(0, 0, 0);
    const std::vector<uint8_t> white(3, 255);
    put_pixels(64, 64, 1, 1, white);
    const std::vector<uint8_t> square = screen_square();
    blur_glow(135);
    const std::vector<uint8_t> texels = glow_texels();
    const std::vector<double> expected = reference_blur(square, 135.0 / 256);
    // Each integer step rounds down, so the blur may fall a little short of
    // the exact filter but never exceeds it.
    for (size_t i = 0; i < texels.size(); ++i) {
        ASSERT_LE(texels[i], expected[i] + 1e-9) << "byte " << i;
        ASSERT_GE(texels[i], expected[i] - 4) << "byte " << i;
    }
    // Row 63 of the bottom-up square is overlay row 64.
    auto value = [&](int x, int row) { return texels[(row * glow_size + x) * 3]; };
    EXPECT_GT(value(64, 63), 0);
    for (int d = 1; d < 4; ++d) {
        EXPECT_GT(value(64 + d, 63), 0);
        EXPECT_GT(value(64 - d, 63), 0);
        EXPECT_GT(value(64, 63 + d), 0);
        EXPECT_GT(value(64, 63 - d), 0);
        EXPECT_GE(value(64 + d - 1, 63), value(64 + d, 63)) << "falls off with distance";
    }
}

#ifdef COUNTS_ALLOCATIONS
TEST_F(RenderTargets, BlurAllocatesNothing) {
    blur_glow(135);
    const size_t before = allocations;
    for (int i = 0; i < 10; ++i) blur_glow(135);
    EXPECT_EQ(allocations, before);
}
#endif

TEST_F(RenderTargets, BlendGlowKeepsAlphaOfTheFrame) {
    // A flat grey glow.
    clear_to(0.5f, 0.5f, 0.5f);
    blur_glow(0);
    const std::vector<uint8_t> picture = test_picture();
    put_pixels(0, 0, screen_width, screen_height, picture);
    blend_glow(1, 1, 1, 1);
    EXPECT_TRUE(read_frame() == picture) << "alpha 1 keeps the frame";
    blend_glow(1, 0.5f, 0, 0);
    const rgb p = overlay_pixel(10, 300);
    EXPECT_NEAR(p.r, 128, 1) << "alpha 0 puts glow times colour";
    EXPECT_NEAR(p.g, 64, 1);
    EXPECT_EQ(p.b, 0);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[1], 0.5f) << "the colour stays set";
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(RenderTargets, AddGlowAddsTimesTheCurrentColour) {
    clear_to(0.25f, 0.25f, 0.25f);
    blur_glow(0);
    clear_to(0.5f, 0, 0);
    glColor4f(1, 1, 0, 1);
    add_glow();
    const rgb p = overlay_pixel(600, 400);
    EXPECT_NEAR(p.r, 128 + 64, 1);
    EXPECT_NEAR(p.g, 64, 1);
    EXPECT_EQ(p.b, 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint value = 0;
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE);
}

TEST_F(RenderTargets, GlowChainRestoresTheFrameAndSpreadsItsLight) {
    // A dark frame with one bright block, then the finishing steps in order.
    clear_to(0.05f, 0.05f, 0.1f);
    const std::vector<uint8_t> block(40 * 40 * 3, 255);
    put_pixels(300, 200, 40, 40, block);
    const std::vector<uint8_t> frame = read_frame();
    glColor4f(1, 1, 1, 1);
    copy_screen(screen_targets[2]);
    draw_target_256();
    copy_glow_source();
    draw_glow_source_128();
    blur_glow(135);
    draw_target_full();
    EXPECT_TRUE(read_frame() == frame) << "the shrunk copies in the corner are hidden again";
    blend_glow(1, 1, 1, 0.75f);
    add_glow();
    const std::vector<uint8_t> glowing = read_frame();
    save_frame("glow_chain_before.png", frame);
    save_frame("glow_chain_after.png", glowing);
    auto at = [](const std::vector<uint8_t>& f, int x, int y) {
        return f[(static_cast<size_t>(y) * screen_width + x) * 3];
    };
    // Light spreads beyond the block's edges, more near it than far away.
    EXPECT_GT(at(glowing, 290, 220), at(frame, 290, 220) + 20);
    EXPECT_GT(at(glowing, 320, 250), at(frame, 320, 250) + 20);
    EXPECT_GT(at(glowing, 290, 220), at(glowing, 250, 220));
    // The halo sits on the block: as bright 6 pixels out on opposite sides.
    EXPECT_NEAR(at(glowing, 294, 220), at(glowing, 345, 220), 12);
    EXPECT_NEAR(at(glowing, 320, 194), at(glowing, 320, 245), 12);
    // Far from the block the glow is the background itself: a quarter of it
    // blended in and all of it added doubles the dark blue.
    EXPECT_NEAR(at(glowing, 20, 20), 2 * at(frame, 20, 20), 2);
    EXPECT_EQ(at(glowing, 320, 220), 255);
}

TEST_F(RenderTargets, SphereMapSwitchesBothCoordinates) {
    set_sphere_map(true);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
    GLint mode = 0;
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(mode, GL_SPHERE_MAP);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(mode, GL_SPHERE_MAP);
    set_sphere_map(false);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(mode, GL_SPHERE_MAP) << "switching off keeps the mode";
}

// The sea skips triangles judged to lie between pixel centres; the real
// rasterizer must agree. Thousands of random tiny and thin triangles under a
// perspective camera: every one judged empty, drawn white on black, leaves
// the frame black, and the judgement is neither always nor never "empty".
TEST_F(RenderTargets, TrianglesJudgedBetweenPixelCentresMakeNoFragment) {
    glViewport(0, 0, screen_width, screen_height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 4.0 / 3.0, 0.1, 99999);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(7, 1, 0.5f, 0);
    std::vector<TGeoxVertex> corners;
    uint32_t noise = 2024u;
    const auto unit = [&noise] { return static_cast<float>((noise = noise * 1664525u + 1013904223u) >> 8) / 16777216.0f; };
    for (int i = 0; i < 20000; ++i) {
        const float x = (unit() - 0.5f) * 8, y = (unit() - 0.5f) * 6, z = -5 - 45 * unit();
        const float size = 0.2f * unit() * unit();
        for (int k = 0; k < 3; ++k) corners.push_back({x + size * unit(), y + size * unit(), z, 0, 0, 0, 0, 0});
    }
    // The whole window, then a box like the letterbox opening: a triangle
    // judged empty there must make no fragment inside the box.
    int empty_in_window = 0;
    const clip_matrix clip = current_clip_matrix(current_projection());
    window_projection projection;
    std::vector<unsigned> all(corners.size()), kept;
    std::iota(all.begin(), all.end(), 0u);
    std::vector<bool> is_kept(corners.size() / 3);
    for (const bool boxed : {false, true}) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        if (boxed) {
            glScissor(0, 60, screen_width, 360);
            glEnable(GL_SCISSOR_TEST);
        }
        project_to_window(clip, corners, current_window_area(), projection);
        kept.clear();
        keep_faces_that_may_cover(projection, all.data(), all.data() + all.size(), kept);
        glDisable(GL_TEXTURE_2D);
        glColor4f(1, 1, 1, 1);
        // Every triangle is kept or judged empty, in order.
        std::fill(is_kept.begin(), is_kept.end(), false);
        for (size_t k = 0; k < kept.size(); k += 3) is_kept[kept[k] / 3] = true;
        int empty = 0;
        glBegin(GL_TRIANGLES);
        for (size_t i = 0; i < corners.size(); i += 3) {
            if (is_kept[i / 3]) continue;
            ++empty;
            for (size_t k = i; k < i + 3; ++k) glVertex3f(corners[k].x, corners[k].y, corners[k].z);
        }
        glEnd();
        glDisable(GL_SCISSOR_TEST);
        const std::vector<uint8_t> frame = read_frame();
        EXPECT_EQ(std::count_if(frame.begin(), frame.end(), [](uint8_t v) { return v != 0; }), 0) << boxed;
        if (boxed) {
            EXPECT_GT(empty, empty_in_window + 100);
        } else {
            empty_in_window = empty;
        }
        EXPECT_GT(empty, 2000) << boxed;
        EXPECT_LT(empty, 18000) << boxed;
    }
    glEnable(GL_TEXTURE_2D);
}
