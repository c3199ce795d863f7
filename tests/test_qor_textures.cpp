// The texture table's lookup rules, and JPEG files decoded into textures:
// texels read back from GL for colour, greyscale, odd widths and alpha pairs,
// the CPU mipmap chains against the GLU's, and the fatal paths for missing,
// damaged and mismatched files.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "assets/mipmap_chain.h"
#include "assets/qor_textures.h"
#include "support/asset_files.h"
#include "support/gl_harness.h"

namespace {

// Level 0 of the bound texture as tightly packed bytes.
std::vector<unsigned char> bound_texels(GLenum format, int channels, int& width, int& height) {
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> texels(static_cast<size_t>(width) * height * channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

GLint bound_texture() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

GLint bound_parameter(GLenum parameter) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

GLint level_width(int level) {
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    return width;
}

// Flat JPEG colours come back within a few steps of what was written.
constexpr int jpeg_tolerance = 3;

void expect_every_texel(const std::vector<unsigned char>& texels, int channels,
                        const std::vector<int>& expected) {
    for (size_t i = 0; i < texels.size(); ++i) {
        ASSERT_NEAR(texels[i], expected[i % channels], jpeg_tolerance) << "byte " << i;
    }
}

class Textures : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        gl_harness_init();
        dir = make_temp_dir("trof_textures");
    }
    std::string file(const char* name) const { return dir + "/" + name; }
};

}  // namespace

TEST(TextureTable, LookupIsExactCaseSensitiveAndFirstRegistrationWins) {
    auto table = std::make_unique<texture_table_t>();
    clear_texture_table(*table);
    EXPECT_EQ(find_texture(*table, "sky1"), 0u) << "empty table";
    register_texture(*table, "sky1", 11);
    register_texture(*table, "sky10", 12);
    register_texture(*table, "sky1", 13);
    EXPECT_EQ(find_texture(*table, "sky1"), 11u);
    EXPECT_EQ(find_texture(*table, "sky10"), 12u);
    EXPECT_EQ(find_texture(*table, "Sky1"), 0u);
    EXPECT_EQ(find_texture(*table, "sky"), 0u) << "a prefix is not a match";
    EXPECT_EQ(find_texture(*table, ""), 0u);
    EXPECT_EQ(table->count, 3);
}

TEST(TextureTable, LongNamesAreCutTo32Characters) {
    auto table = std::make_unique<texture_table_t>();
    clear_texture_table(*table);
    const std::string name40 = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
    register_texture(*table, name40.c_str(), 7);
    EXPECT_EQ(find_texture(*table, name40.c_str()), 0u);
    EXPECT_EQ(find_texture(*table, name40.substr(0, 32).c_str()), 7u);
    EXPECT_EQ(find_texture(*table, name40.substr(0, 31).c_str()), 0u);
    EXPECT_EQ(table->names[0][0], 32);
}

TEST(TextureTable, AFullTableStoresNothingMore) {
    auto table = std::make_unique<texture_table_t>();
    clear_texture_table(*table);
    for (int i = 0; i < texture_table_capacity; ++i) {
        register_texture(*table, ("t" + std::to_string(i)).c_str(), static_cast<uint32_t>(i + 1));
    }
    register_texture(*table, "overflow", 5000);
    EXPECT_EQ(table->count, texture_table_capacity);
    EXPECT_EQ(find_texture(*table, "overflow"), 0u);
    EXPECT_EQ(find_texture(*table, "t999"), 1000u);
    clear_texture_table(*table);
    EXPECT_EQ(find_texture(*table, "t0"), 0u);
}

TEST_F(Textures, ColourJpegBecomesBoundMipmappedRgbTexture) {
    write_flat_jpeg(file("colour.jpg"), 8, 8, {200, 40, 90});
    const uint32_t texture = load_texture(file("colour.jpg").c_str(), GL_LINEAR, GL_LINEAR);
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(bound_texture(), static_cast<GLint>(texture));
    EXPECT_EQ(bound_parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(bound_parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    int width = 0, height = 0;
    const auto texels = bound_texels(GL_RGB, 3, width, height);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 8);
    expect_every_texel(texels, 3, {200, 40, 90});
    // The whole chain is built even though GL_LINEAR never samples it.
    EXPECT_EQ(level_width(3), 1);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the loader puts the caller's unpack alignment back";
}

TEST_F(Textures, GreyscaleJpegGivesEqualChannels) {
    write_jpeg(file("grey.jpg"), 8, 8, [](int, int) { return rgb{77, 0, 0}; }, true);
    load_texture(file("grey.jpg").c_str(), GL_LINEAR, GL_LINEAR);
    int width = 0, height = 0;
    expect_every_texel(bound_texels(GL_RGB, 3, width, height), 3, {77, 77, 77});
}

TEST_F(Textures, TopImageRowIsTexelRowZero) {
    write_jpeg(file("rows.jpg"), 8, 8, [](int, int y) {
        return y < 4 ? rgb{250, 0, 0} : rgb{0, 0, 250};
    });
    load_texture(file("rows.jpg").c_str(), GL_LINEAR, GL_LINEAR);
    int width = 0, height = 0;
    const auto texels = bound_texels(GL_RGB, 3, width, height);
    EXPECT_GT(texels[0], 200) << "row 0 is red";
    EXPECT_LT(texels[2], 50);
    const size_t last_row = static_cast<size_t>(7) * 8 * 3;
    EXPECT_LT(texels[last_row], 50) << "row 7 is blue";
    EXPECT_GT(texels[last_row + 2], 200);
}

TEST_F(Textures, OddWidthRowsAreNotSheared) {
    // Rows of 7 RGB pixels are 21 bytes; read with an alignment of 4 they
    // would start late and turn red rows into blue or green ones. (7 x 6 is
    // scaled to 8 x 8 by GLU; GLU 9.0.2 blanks the last row when it scales
    // the width alone, so the test scales both.)
    write_jpeg(file("odd.jpg"), 7, 6, [](int, int y) {
        return y < 3 ? rgb{255, 0, 0} : rgb{0, 0, 255};
    });
    load_texture(file("odd.jpg").c_str(), GL_LINEAR, GL_LINEAR);
    int width = 0, height = 0;
    const auto texels = bound_texels(GL_RGB, 3, width, height);
    ASSERT_EQ(width, 8);
    ASSERT_EQ(height, 8);
    for (int y : {0, 1, 2, 5, 6, 7}) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* t = &texels[(static_cast<size_t>(y) * width + x) * 3];
            const bool red_row = y < 3;
            EXPECT_NEAR(t[0], red_row ? 255 : 0, 40) << "texel " << x << "," << y;
            EXPECT_NEAR(t[1], 0, 40) << "texel " << x << "," << y;
            EXPECT_NEAR(t[2], red_row ? 0 : 255, 40) << "texel " << x << "," << y;
        }
    }
}

TEST_F(Textures, AlphaComesFromTheBlueChannelOfTheAlphaImage) {
    write_flat_jpeg(file("c.jpg"), 8, 8, {30, 160, 220});
    write_flat_jpeg(file("a.jpg"), 8, 8, {10, 20, 230});
    const uint32_t texture =
        load_texture_alpha(file("c.jpg").c_str(), file("a.jpg").c_str(), GL_NEAREST, GL_NEAREST);
    EXPECT_EQ(bound_texture(), static_cast<GLint>(texture));
    EXPECT_EQ(bound_parameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    int width = 0, height = 0;
    expect_every_texel(bound_texels(GL_RGBA, 4, width, height), 4, {30, 160, 220, 230});
    EXPECT_EQ(level_width(3), 1);
}

TEST_F(Textures, WhiteAlphaIsOpaqueAndBlackAlphaIsTransparent) {
    write_flat_jpeg(file("c.jpg"), 8, 8, {120, 60, 30});
    write_flat_jpeg(file("white.jpg"), 8, 8, {255, 255, 255});
    write_jpeg(file("black.jpg"), 8, 8, [](int, int) { return rgb{0, 0, 0}; }, true);
    int width = 0, height = 0;
    load_texture_alpha(file("c.jpg").c_str(), file("white.jpg").c_str(), GL_LINEAR, GL_LINEAR);
    expect_every_texel(bound_texels(GL_RGBA, 4, width, height), 4, {120, 60, 30, 255});
    load_texture_alpha(file("c.jpg").c_str(), file("black.jpg").c_str(), GL_LINEAR, GL_LINEAR);
    expect_every_texel(bound_texels(GL_RGBA, 4, width, height), 4, {120, 60, 30, 0});
}

TEST_F(Textures, BlankTextureIsBlackLinearAndSingleLevel) {
    const uint32_t texture = create_blank_texture(1024, 512);
    EXPECT_EQ(bound_texture(), static_cast<GLint>(texture));
    EXPECT_EQ(bound_parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(bound_parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    int width = 0, height = 0;
    const auto texels = bound_texels(GL_RGB, 3, width, height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 512);
    for (unsigned char t : texels) ASSERT_EQ(t, 0);
    EXPECT_EQ(level_width(1), 0) << "no mipmaps";
    // An odd width works too: its rows are packed at width * 3 bytes.
    create_blank_texture(5, 3);
    EXPECT_EQ(level_width(0), 5);
}

TEST_F(Textures, MissingFileIsAFatalLoadErrorNamingIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string missing = file("none.jpg");
    EXPECT_EXIT(load_texture(missing.c_str(), GL_LINEAR, GL_LINEAR), ::testing::ExitedWithCode(1),
                "Cannot load .*none\\.jpg.*No such file");
}

TEST_F(Textures, DamagedJpegIsAFatalLoadError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    write_bytes(file("garbage.jpg"), {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'});
    EXPECT_EXIT(load_texture(file("garbage.jpg").c_str(), GL_LINEAR, GL_LINEAR),
                ::testing::ExitedWithCode(1), "Cannot load .*garbage\\.jpg.*JPEG");
    // Cut in the middle of its data: libjpeg alone would pad it with grey.
    write_jpeg(file("whole.jpg"), 64, 64, [](int x, int y) {
        return rgb{static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 4), 99};
    });
    std::vector<unsigned char> bytes = read_bytes(file("whole.jpg"));
    bytes.resize(bytes.size() / 2);
    write_bytes(file("cut.jpg"), bytes);
    EXPECT_EXIT(load_texture(file("cut.jpg").c_str(), GL_LINEAR, GL_LINEAR),
                ::testing::ExitedWithCode(1), "Cannot load .*cut\\.jpg");
}

TEST_F(Textures, StrayBytesBeforeTheEndMarkerStillGiveTheWholePicture) {
    write_flat_jpeg(file("clean.jpg"), 16, 16, {30, 160, 220});
    std::vector<unsigned char> bytes = read_bytes(file("clean.jpg"));
    ASSERT_EQ(bytes[bytes.size() - 2], 0xFF);
    ASSERT_EQ(bytes[bytes.size() - 1], 0xD9);
    bytes.insert(bytes.end() - 2, {0x00, 0x11, 0x22});
    write_bytes(file("stray.jpg"), bytes);
    load_texture(file("stray.jpg").c_str(), GL_LINEAR, GL_LINEAR);
    int width = 0, height = 0;
    expect_every_texel(bound_texels(GL_RGB, 3, width, height), 3, {30, 160, 220});
    EXPECT_EQ(width, 16);
}

// A header claiming a picture of gigabytes would take minutes to decode.
TEST_F(Textures, PictureOfMoreThan8192PixelsOnASideIsRefused) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    write_flat_jpeg(file("wide.jpg"), 8200, 8, {1, 2, 3});
    EXPECT_EXIT(load_texture(file("wide.jpg").c_str(), GL_LINEAR, GL_LINEAR),
                ::testing::ExitedWithCode(1), "Cannot load .*wide\\.jpg.* 8200x8, more than 8192");
}

TEST_F(Textures, AlphaPairOfDifferentSizesIsRefusedNamingBoth) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    write_flat_jpeg(file("big.jpg"), 16, 16, {1, 2, 3});
    write_flat_jpeg(file("small_alpha.jpg"), 8, 4, {255, 255, 255});
    EXPECT_EXIT(load_texture_alpha(file("big.jpg").c_str(), file("small_alpha.jpg").c_str(),
                                   GL_LINEAR, GL_LINEAR),
                ::testing::ExitedWithCode(1),
                "small_alpha\\.jpg.* 8x4 .*big\\.jpg.* 16x16");
}

// The chains made on the decoding workers equal the GLU's level by level,
// for RGB and RGBA and for sides that reach 1 before the other (the
// two-texel average there rounds differently from the four-texel one).
TEST_F(Textures, CpuMipmapChainsEqualTheGluOnesByteForByte) {
    const int sizes[][2] = {{64, 64}, {16, 4}, {2, 32}, {1, 1}};
    for (const int components : {3, 4}) {
        for (const auto& size : sizes) {
            std::vector<unsigned char> pixels(static_cast<size_t>(size[0]) * size[1] * components);
            uint32_t noise = 12345u;
            for (unsigned char& byte : pixels) byte = static_cast<unsigned char>((noise = noise * 1103515245u + 12345u) >> 23);
            const GLenum format = components == 4 ? GL_RGBA : GL_RGB;
            GLuint texture = 0;
            glGenTextures(1, &texture);
            glBindTexture(GL_TEXTURE_2D, texture);
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
            gluBuild2DMipmaps(GL_TEXTURE_2D, components, size[0], size[1], format, GL_UNSIGNED_BYTE, pixels.data());
            const std::vector<mip_level> chain = build_mipmap_chain(size[0], size[1], components, pixels);
            for (size_t level = 0; level < chain.size(); ++level) {
                ASSERT_EQ(level_width(static_cast<int>(level)), chain[level].width);
                std::vector<unsigned char> texels(chain[level].pixels.size());
                glPixelStorei(GL_PACK_ALIGNMENT, 1);
                glGetTexImage(GL_TEXTURE_2D, static_cast<GLint>(level), format, GL_UNSIGNED_BYTE, texels.data());
                EXPECT_EQ(texels, chain[level].pixels)
                    << size[0] << "x" << size[1] << "x" << components << " level " << level;
            }
            EXPECT_EQ(level_width(static_cast<int>(chain.size())), 0) << "no level beyond 1x1";
            glDeleteTextures(1, &texture);
        }
    }
}
