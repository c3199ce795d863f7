// load_assets on a small data folder the test writes: the 39 names in table
// order, each texture made from its own file with its filters, the sky list,
// and a missing file ending start-up.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "assets/scene_globaldata.h"
#include "support/asset_files.h"
#include "support/gl_harness.h"

namespace {

const std::vector<std::string> expected_names = {
    "font",      "sky1",  "sky2",  "sky3",     "sky4",   "sky5",     "net1",       "net2",
    "net3",      "net4",  "net5",  "grass",    "subgrass", "flowerhead", "flowerleg", "floor",
    "water",     "backsky1", "kubes", "kubeshigh", "ship", "qvlogo",   "earth",      "star1",
    "star2",     "star3", "starfon", "bfly",   "blik",   "fish",     "parus",      "boy0",
    "boy1",      "boy2",  "boy3",  "boy4",     "boy5",   "boy6",     "boy7"};

const std::vector<std::string> alpha_names = {"font", "grass", "flowerhead", "bfly"};

// Every file gets its own flat colour, so a texel tells which file it came from.
rgb colour_of_file(int index) {
    return rgb{static_cast<uint8_t>(20 + index * 3), static_cast<uint8_t>(230 - index * 3), 128};
}

struct data_folder {
    std::string root;
    std::vector<std::string> files;  // in the order colour_of_file numbers them
};

void add_jpeg(data_folder& folder, const std::string& name) {
    const int index = static_cast<int>(folder.files.size());
    write_flat_jpeg(folder.root + "/data/" + name, 8, 8, colour_of_file(index));
    folder.files.push_back(name);
}

int file_index(const data_folder& folder, const std::string& name) {
    for (size_t i = 0; i < folder.files.size(); ++i) {
        if (folder.files[i] == name) return static_cast<int>(i);
    }
    return -1;
}

// A triangle covering the screen under identity matrices, every corner at
// texture coordinate (0.5, 0.5); in the file's x, z, y order.
std::vector<unsigned char> sky_geox() {
    std::vector<unsigned char> bytes;
    append_int32(bytes, 3);
    append_int32(bytes, 1);
    const float corners[3][2] = {{-1, -1}, {3, -1}, {-1, 3}};
    for (const auto& c : corners) {
        for (float f : {c[0], 0.0f, c[1], 0.5f, 0.5f}) append_float(bytes, f);
    }
    for (int32_t i : {0, 1, 2}) append_int32(bytes, i);
    return bytes;
}

data_folder make_data_folder() {
    data_folder folder{make_temp_dir("trof_catalogue"), {}};
    std::filesystem::create_directory(folder.root + "/data");
    for (size_t i = 0; i < 31; ++i) {
        add_jpeg(folder, expected_names[i] + ".jpg");
        for (const std::string& alpha : alpha_names) {
            if (alpha == expected_names[i]) add_jpeg(folder, alpha + "_alpha.jpg");
        }
    }
    for (int k = 1; k <= 8; ++k) {
        add_jpeg(folder, "bo_" + std::to_string(k) + ".jpg");
        add_jpeg(folder, "boalpha_" + std::to_string(k) + ".jpg");
    }
    write_bytes(folder.root + "/data/sky.geox", sky_geox());
    return folder;
}

std::string stored_name(int i) {
    const unsigned char* stored = texture_table.names[i];
    return std::string(reinterpret_cast<const char*>(stored + 1), stored[0]);
}

GLint parameter_of(uint32_t texture, GLenum parameter) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

std::vector<unsigned char> first_texel(uint32_t texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    std::vector<unsigned char> texels(8 * 8 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return {texels.begin(), texels.begin() + 4};
}

void expect_colour(const std::vector<unsigned char>& texel, rgb colour, const std::string& what) {
    EXPECT_NEAR(texel[0], colour.r, 3) << what;
    EXPECT_NEAR(texel[1], colour.g, 3) << what;
    EXPECT_NEAR(texel[2], colour.b, 3) << what;
}

class Catalogue : public ::testing::Test {
protected:
    static inline data_folder folder;
    // The binding load_assets leaves, read before any test binds anything.
    static inline GLint bound_after_load = 0;
    static void SetUpTestSuite() {
        gl_harness_init();
        folder = make_data_folder();
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(folder.root);
        load_assets();
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound_after_load);
        std::filesystem::current_path(previous);
    }
};

}  // namespace

TEST_F(Catalogue, LeavesBoy7Bound) {
    EXPECT_EQ(static_cast<uint32_t>(bound_after_load), find_texture(texture_table, "boy7"));
}

TEST_F(Catalogue, ThirtyNineNamesInTableOrder) {
    ASSERT_EQ(texture_table.count, 39);
    for (int i = 0; i < texture_table.count; ++i) EXPECT_EQ(stored_name(i), expected_names[i]);
    EXPECT_EQ(find_texture(texture_table, "boy8"), 0u);
    EXPECT_NE(find_texture(texture_table, "net4"), 0u);
    for (int i = 0; i < texture_table.count; ++i) {
        EXPECT_TRUE(glIsTexture(texture_table.textures[i])) << expected_names[i];
        for (int j = 0; j < i; ++j) EXPECT_NE(texture_table.textures[i], texture_table.textures[j]);
    }
}

TEST_F(Catalogue, EachTextureComesFromItsOwnFile) {
    for (const std::string name : {"sky1", "net4", "parus", "qvlogo"}) {
        const int index = file_index(folder, name + ".jpg");
        expect_colour(first_texel(find_texture(texture_table, name.c_str())),
                      colour_of_file(index), name);
    }
    // boy0 is the pair numbered 1, boy7 the pair numbered 8.
    expect_colour(first_texel(find_texture(texture_table, "boy0")),
                  colour_of_file(file_index(folder, "bo_1.jpg")), "boy0");
    expect_colour(first_texel(find_texture(texture_table, "boy7")),
                  colour_of_file(file_index(folder, "bo_8.jpg")), "boy7");
    // Alpha from the blue channel of the alpha image: 128 for every file here.
    EXPECT_NEAR(first_texel(find_texture(texture_table, "font"))[3], 128, 3);
    EXPECT_NEAR(first_texel(find_texture(texture_table, "sky2"))[3], 255, 0) << "no alpha image";
}

TEST_F(Catalogue, FiltersFollowTheTable) {
    struct expectation {
        const char* name;
        GLint min;
        GLint mag;
    };
    const expectation table[] = {
        {"font", GL_LINEAR, GL_LINEAR},           {"sky5", GL_LINEAR, GL_LINEAR},
        {"net1", GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR}, {"grass", GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
        {"subgrass", GL_LINEAR, GL_LINEAR},       {"backsky1", GL_LINEAR, GL_LINEAR},
        {"qvlogo", GL_LINEAR, GL_LINEAR},         {"starfon", GL_LINEAR, GL_LINEAR},
        {"parus", GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR}, {"boy3", GL_NEAREST, GL_NEAREST},
    };
    for (const expectation& e : table) {
        const uint32_t texture = find_texture(texture_table, e.name);
        EXPECT_EQ(parameter_of(texture, GL_TEXTURE_MIN_FILTER), e.min) << e.name;
        EXPECT_EQ(parameter_of(texture, GL_TEXTURE_MAG_FILTER), e.mag) << e.name;
    }
}

TEST_F(Catalogue, SkyListDrawsTheMeshWithItsTextureCoordinates) {
    ASSERT_EQ(sky_mesh.vertex_count, 3);
    ASSERT_TRUE(glIsList(sky_mesh.list));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindTexture(GL_TEXTURE_2D, find_texture(texture_table, "earth"));
    glTexCoord2f(0, 0);
    glCallList(sky_mesh.list);
    const rgb p = overlay_pixel(320, 240);
    const rgb earth = colour_of_file(file_index(folder, "earth.jpg"));
    EXPECT_NEAR(p.r, earth.r, 3);
    EXPECT_NEAR(p.g, earth.g, 3);
    EXPECT_NEAR(p.b, earth.b, 3);
}

TEST(CatalogueFailure, AMissingFileEndsStartUpNamingIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    gl_harness_init();
    const data_folder folder = make_data_folder();
    std::filesystem::remove(folder.root + "/data/boalpha_5.jpg");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.root);
    EXPECT_EXIT(load_assets(), ::testing::ExitedWithCode(1),
                "Cannot load \"data\\\\boalpha_5\\.jpg\"");
    std::filesystem::current_path(previous);
}
