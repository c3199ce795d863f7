// The festival's own lines: printable, present in the glyph atlas, and
// sized so that each fits where its scene draws it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assets/qor_textures.h"
#include "scenes/show_texts.h"
#include "support/gl_harness.h"

namespace {

std::vector<std::string> all_lines() {
    return {credit_line, letterbox_place_line, outro_place_line, outro_web_line, greetings_line};
}

// Left and right edge of a centred draw_text line.
struct span {
    float left, right;
};
span line_span(const std::string& text, float centre, float glyph, float advance) {
    const float half = static_cast<float>(text.size() - 1) * advance / 2 + glyph / 2;
    return {centre - half, centre + half};
}

}  // namespace

TEST(ShowTexts, EveryCharacterIsPrintableAscii) {
    for (const std::string& line : all_lines()) {
        ASSERT_FALSE(line.empty());
        for (char c : line) {
            EXPECT_GE(c, 32) << line;
            EXPECT_LE(c, 126) << line;
        }
    }
}

TEST(ShowTexts, LinesFitWhereTheyAreDrawn) {
    // Bottom bar: between the logo (ends at x = 50) and the right border.
    const span bar = line_span(letterbox_place_line, 320, 16, 10);
    EXPECT_GT(bar.left, 50);
    EXPECT_LT(bar.right, 640);
    // Intro credit at its largest (advance 15, glyph 22 as p approaches 1).
    const span credit = line_span(credit_line, 320, 22, 15);
    EXPECT_GE(credit.left, 0);
    EXPECT_LE(credit.right, 640);
    // Outro lines at their largest glyph (19) and advance 10.
    for (const char* line : {outro_place_line, outro_web_line}) {
        const span s = line_span(line, 320, 19, 10);
        EXPECT_GE(s.left, 0) << line;
        EXPECT_LE(s.right, 640) << line;
    }
}

TEST(ShowTexts, WebAddressesUseAReservedDomain) {
    for (const std::string line : {letterbox_place_line, outro_web_line}) {
        const size_t www = line.find("www.");
        ASSERT_NE(www, std::string::npos) << line;
        const std::string host = line.substr(www, line.find(' ', www) - www);
        EXPECT_TRUE(host.ends_with(".example")) << host;
    }
}

TEST(ShowTexts, GreetingsAreBlankSeparatedNamesThatCrossTheWholeBar) {
    const std::string g = greetings_line;
    EXPECT_GE(g.size(), 70u);
    EXPECT_LE(g.size(), 80u);
    EXPECT_NE(g.front(), ' ');
    EXPECT_NE(g.back(), ' ');
    EXPECT_EQ(g.find("  "), std::string::npos);
    EXPECT_GE(std::count(g.begin(), g.end(), ' '), 5);
    // Centre 1320 at the outro's start, -680 at its end; glyph 30, advance 15.
    EXPECT_GT(line_span(g, 1320, 30, 15).left, 640);
    EXPECT_LT(line_span(g, -680, 30, 15).right, 0);
}

TEST(ShowTexts, EveryGlyphUsedHasInkInTheAtlas) {
    gl_harness_init();
    const uint32_t font = load_texture_alpha("data\\font.jpg", "data\\font_alpha.jpg", GL_LINEAR,
                                             GL_LINEAR);
    ASSERT_NE(font, 0u);
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    const int cell_w = width / 16;
    const int cell_h = height / 16;
    // Texture row 0 is the image's top row: cell row c / 16 from the top.
    auto ink = [&](unsigned char c) {
        int strongest = 0;
        for (int y = (c / 16) * cell_h; y < (c / 16 + 1) * cell_h; ++y) {
            for (int x = (c % 16) * cell_w; x < (c % 16 + 1) * cell_w; ++x) {
                strongest = std::max<int>(strongest, rgba[(static_cast<size_t>(y) * width + x) * 4 + 3]);
            }
        }
        return strongest;
    };
    for (const std::string& line : all_lines()) {
        for (char c : line) {
            if (c == ' ') continue;
            EXPECT_GT(ink(static_cast<unsigned char>(c)), 128) << "'" << c << "'";
        }
    }
}
