// Tests of the generated data folder (textures, meshes, camera paths): every
// file is there and well formed, the pictures keep the rules the loaders and
// scenes rely on, the meshes come in the units the scene transforms expect,
// the camera paths keep their subjects in view when the scenes are shown,
// and a second generator run writes the same bytes.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "assets/jpeg_image.h"
#include "assets/load_error.h"
#include "assets/qor_camera.h"
#include "assets/qor_spline.h"
#include "support/asset_files.h"
#include "support/gl_harness.h"

namespace {

const std::string data = "data/";

// ---- pictures -------------------------------------------------------------

struct Picture {
    int width = 0, height = 0, components = 0;
    std::vector<unsigned char> pixels;  // rows top first, components per pixel
    int at(int x, int y, int c = 0) const { return pixels[(static_cast<size_t>(y) * width + x) * components + c]; }
};

// The component count of the file's frame header, read with libjpeg: the
// decoder gives RGB for every picture.
int stored_components(const std::vector<unsigned char>& file) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    const int components = info.num_components;
    jpeg_destroy_decompress(&info);
    return components;
}

// The picture in its stored components: one channel for greyscale files.
Picture decode(const std::string& name) {
    const std::string file_name = data + name + ".jpg";
    Picture p;
    if (!std::filesystem::exists(file_name)) return p;
    const jpeg_image image = decode_jpeg_file(file_name.c_str());
    p.width = image.width;
    p.height = image.height;
    p.components = stored_components(read_data_file(file_name.c_str()));
    p.pixels.resize(static_cast<size_t>(p.width) * p.height * p.components);
    for (size_t i = 0; i < p.pixels.size(); ++i) p.pixels[i] = image.rgb[i / p.components * 3 + i % p.components];
    return p;
}

const std::vector<std::string> colour_pictures = {
    "sky1", "sky2", "sky3", "sky4", "sky5", "net1", "net2", "net3", "net4", "net5", "subgrass", "flowerleg",
    "floor", "water", "backsky1", "kubes", "kubeshigh", "ship", "qvlogo", "earth", "star1", "star2", "star3",
    "starfon", "blik", "fish", "parus"};

// Colour pictures with their alpha companions.
std::vector<std::pair<std::string, std::string>> pairs() {
    std::vector<std::pair<std::string, std::string>> all = {
        {"font", "font_alpha"}, {"grass", "grass_alpha"}, {"flowerhead", "flowerhead_alpha"}, {"bfly", "bfly_alpha"}};
    for (int k = 1; k <= 8; ++k) all.push_back({"bo_" + std::to_string(k), "boalpha_" + std::to_string(k)});
    return all;
}

bool power_of_two_in_range(int n) { return n >= 256 && n <= 1024 && (n & (n - 1)) == 0; }

TEST(DatagenTextures, EveryPictureDecodesAtAPowerOfTwoSize) {
    std::vector<std::string> names = colour_pictures;
    for (const auto& [colour, alpha] : pairs()) {
        names.push_back(colour);
        names.push_back(alpha);
    }
    EXPECT_EQ(names.size(), 51u);
    for (const std::string& name : names) {
        const Picture p = decode(name);
        ASSERT_GT(p.width, 0) << name << ".jpg is missing or undecodable";
        EXPECT_TRUE(power_of_two_in_range(p.width) && power_of_two_in_range(p.height)) << name << " is " << p.width << "x" << p.height;
    }
}

TEST(DatagenTextures, AlphaCompanionsAreGreyscaleAndMatchTheirColourPicture) {
    for (const auto& [colour, alpha] : pairs()) {
        const Picture c = decode(colour), a = decode(alpha);
        EXPECT_EQ(a.components, 1) << alpha;
        EXPECT_EQ(c.components, 3) << colour;
        EXPECT_EQ(c.width, a.width) << colour;
        EXPECT_EQ(c.height, a.height) << colour;
    }
}

// The additive pictures are drawn on quads whose edges must not show.
TEST(DatagenTextures, AdditivePicturesFadeToBlackAtTheirEdges) {
    for (const char* name : {"sky1", "sky2", "sky3", "sky4", "sky5", "net1", "net2", "net3", "net4", "net5", "star1", "star2", "star3"}) {
        const Picture p = decode(name);
        ASSERT_GT(p.width, 0) << name;
        int brightest = 0;
        for (int i = 0; i < p.width; ++i)
            for (int c = 0; c < 3; ++c)
                brightest = std::max({brightest, p.at(i, 0, c), p.at(i, p.height - 1, c), p.at(0, i * p.height / p.width, c),
                                      p.at(p.width - 1, i * p.height / p.width, c)});
        EXPECT_LE(brightest, 12) << name << " shows an edge";
    }
}

// Mean difference between two columns (wrapping) of a picture.
double column_step(const Picture& p, int a, int b) {
    double sum = 0;
    for (int y = 0; y < p.height; ++y)
        for (int c = 0; c < p.components; ++c) sum += std::abs(p.at(a, y, c) - p.at(b, y, c));
    return sum / (p.height * p.components);
}

double row_step(const Picture& p, int a, int b) {
    double sum = 0;
    for (int x = 0; x < p.width; ++x)
        for (int c = 0; c < p.components; ++c) sum += std::abs(p.at(x, a, c) - p.at(x, b, c));
    return sum / (p.width * p.components);
}

// Across the wrap-around seam a tiling picture changes no more than between
// any two neighbouring columns or rows inside it.
TEST(DatagenTextures, RepeatingPicturesTileWithoutSeams) {
    for (const char* name : {"subgrass", "water", "floor", "kubes", "kubeshigh", "backsky1", "flowerleg", "earth", "starfon"}) {
        const Picture p = decode(name);
        ASSERT_GT(p.width, 0) << name;
        double inner_x = 0, inner_y = 0;
        for (int i = 1; i < p.width; ++i) inner_x = std::max(inner_x, column_step(p, i - 1, i));
        for (int i = 1; i < p.height; ++i) inner_y = std::max(inner_y, row_step(p, i - 1, i));
        EXPECT_LE(column_step(p, p.width - 1, 0), inner_x * 1.05 + 1) << name << " has a seam between right and left";
        const std::string n = name;
        if (n != "backsky1" && n != "earth" && n != "starfon") {
            EXPECT_LE(row_step(p, p.height - 1, 0), inner_y * 1.05 + 1) << name << " has a seam between bottom and top";
        }
    }
}

// Each of the picture's top and bottom rows is one point of the sphere.
TEST(DatagenTextures, TheEquirectangularPicturesCloseAtThePoles) {
    for (const char* name : {"earth", "starfon"}) {
        const Picture p = decode(name);
        ASSERT_GT(p.width, 0) << name;
        for (int y : {0, p.height - 1}) {
            int lo = 255, hi = 0;
            for (int x = 0; x < p.width; ++x) {
                lo = std::min(lo, p.at(x, y, 2));
                hi = std::max(hi, p.at(x, y, 2));
            }
            EXPECT_LE(hi - lo, 40) << name << " row " << y << " is not one colour";
        }
    }
}

// Sphere maps: the textures' top row is uploaded at t = 0, which a reflection
// reaches when it points down, so the sky belongs at the bottom.
TEST(DatagenTextures, SphereMapsShowTheSkyInTheirLowerHalf) {
    for (const char* name : {"blik", "fish"}) {
        const Picture p = decode(name);
        double top = 0, bottom = 0;
        for (int y = p.height / 8; y < p.height * 3 / 8; ++y)
            for (int x = p.width / 4; x < p.width * 3 / 4; ++x) {
                top += p.at(x, y, 2);
                bottom += p.at(x, p.height - 1 - y, 2);
            }
        EXPECT_GT(bottom, top * 1.2) << name << " has its sky on top";
    }
}

// Cut-outs are tested at alpha 0.5 under linear filtering and mipmaps, so
// the colour just outside a shape must be the shape's, not black.
TEST(DatagenTextures, CutOutColoursBleedPastTheirEdges) {
    for (const auto& [colour, alpha] : {std::pair<const char*, const char*>{"grass", "grass_alpha"}, {"flowerhead", "flowerhead_alpha"}, {"bfly", "bfly_alpha"}}) {
        const Picture c = decode(colour), a = decode(alpha);
        double outside = 0, inside = 0;
        int n = 0;
        for (int y = 1; y < a.height - 1; ++y)
            for (int x = 1; x < a.width - 1; ++x)
                if (a.at(x, y) < 64 && a.at(x + 1, y) >= 192) {
                    for (int k = 0; k < 3; ++k) {
                        outside += c.at(x, y, k);
                        inside += c.at(x + 1, y, k);
                    }
                    ++n;
                }
        ASSERT_GT(n, 100) << colour;
        EXPECT_GT(outside, inside * 0.6) << colour << " has dark fringes";
    }
}

TEST(DatagenFont, GlyphsOfPrintableCodesSitCentredInTheirCellsWithEmptyBorders) {
    const Picture colour = decode("font"), alpha = decode("font_alpha");
    ASSERT_GT(alpha.width, 0);
    ASSERT_EQ(alpha.width % 16, 0);
    const int cell = alpha.width / 16;
    int darkest = 255;
    for (size_t i = 0; i < colour.pixels.size(); ++i) darkest = std::min(darkest, static_cast<int>(colour.pixels[i]));
    EXPECT_GE(darkest, 250) << "the atlas colour must be white";
    for (int c = 0; c < 256; ++c) {
        const int x0 = (c % 16) * cell, y0 = (c / 16) * cell;
        double ink = 0, centre_x = 0;
        int border = 0;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) {
                const int a = alpha.at(x0 + x, y0 + y);
                if (x == 0 || y == 0 || x == cell - 1 || y == cell - 1) border = std::max(border, a);
                ink += a;
                centre_x += a * (x + 0.5);
            }
        EXPECT_LE(border, 8) << "code " << c << " reaches its cell border";
        const bool printable = c > 32 && c < 127;
        if (printable) {
            ASSERT_GT(ink, 255.0 * cell * cell / 200) << "code " << c << " has no glyph";
            EXPECT_NEAR(centre_x / ink, cell / 2.0, cell * 0.15) << "code " << c << " is off centre";
        }
        if (c < 32 || c == 127) {
            EXPECT_LT(ink, 255.0) << "control code " << c << " is not empty";
        }
    }
}

// Coverage (alpha >= 128) of a boy frame.
std::vector<bool> figure(int frame) {
    const Picture a = decode("boalpha_" + std::to_string(frame));
    std::vector<bool> inside(a.pixels.size());
    for (size_t i = 0; i < a.pixels.size(); ++i) inside[i] = a.pixels[i] >= 128;
    return inside;
}

TEST(DatagenBoy, StandsOnTheBottomEdgeAndFacesTheLeftEdge) {
    for (int k = 1; k <= 8; ++k) {
        const Picture a = decode("boalpha_" + std::to_string(k));
        ASSERT_GT(a.width, 0);
        int lowest = 0, top = a.height;
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                if (a.at(x, y) >= 128) {
                    lowest = std::max(lowest, y);
                    top = std::min(top, y);
                }
        // The quad stands on the ground (t = 1 at y = 0): the soles touch it.
        EXPECT_GE(lowest, a.height * 97 / 100) << "frame " << k << " floats";
        EXPECT_LE(top, a.height / 6) << "frame " << k << " is too small for the 2-unit quad";
        // He walks towards +z, which is the picture's left edge (s = 0): over
        // the head the cap's peak and the face reach further left of the
        // head's middle than the back of the head reaches right.
        int left = a.width, right = 0;
        double sum = 0, n = 0;
        for (int y = top; y < top + (a.height - top) / 6; ++y)
            for (int x = 0; x < a.width; ++x)
                if (a.at(x, y) >= 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    sum += x;
                    n += 1;
                }
        ASSERT_GT(n, 0);
        const double middle = sum / n;
        EXPECT_GT(middle - left, (right - middle) * 1.2) << "frame " << k << " does not face the left edge";
    }
}

TEST(DatagenBoy, TheWalkCycleLoopsWithoutAJump) {
    std::vector<std::vector<bool>> frames;
    for (int k = 1; k <= 8; ++k) frames.push_back(figure(k));
    double smallest = 1e9, largest = 0;
    for (int k = 0; k < 8; ++k) {
        const auto& a = frames[static_cast<size_t>(k)];
        const auto& b = frames[static_cast<size_t>((k + 1) % 8)];
        ASSERT_EQ(a.size(), b.size());
        double changed = 0;
        for (size_t i = 0; i < a.size(); ++i) changed += a[i] != b[i];
        EXPECT_GT(changed, 0) << "frames " << k + 1 << " and " << (k + 1) % 8 + 1 << " are the same";
        smallest = std::min(smallest, changed);
        largest = std::max(largest, changed);
    }
    EXPECT_LT(largest, smallest * 2.5) << "one step of the cycle (8 back to 1 included) jumps";
}

// ---- meshes ---------------------------------------------------------------

struct Mesh {
    std::vector<std::array<float, 5>> vertices;  // as the scenes load them: x, y (file's third), z (file's second), u, v
    std::vector<std::array<int32_t, 3>> faces;
    size_t file_size = 0;
};

Mesh load(const std::string& name) {
    const std::vector<unsigned char> bytes = read_bytes(data + name + ".geox");
    Mesh m;
    m.file_size = bytes.size();
    if (bytes.size() < 8) return m;
    int32_t counts[2];
    std::memcpy(counts, bytes.data(), 8);
    if (counts[0] < 0 || counts[1] < 0 || bytes.size() < 8 + 20 * size_t(counts[0]) + 12 * size_t(counts[1])) return m;
    for (int32_t i = 0; i < counts[0]; ++i) {
        float f[5];
        std::memcpy(f, bytes.data() + 8 + 20 * size_t(i), 20);
        m.vertices.push_back({f[0], f[2], f[1], f[3], f[4]});
    }
    for (int32_t i = 0; i < counts[1]; ++i) {
        std::array<int32_t, 3> face;
        std::memcpy(face.data(), bytes.data() + 8 + 20 * size_t(counts[0]) + 12 * size_t(i), 12);
        m.faces.push_back(face);
    }
    return m;
}

const std::vector<std::string> mesh_names = {"sky",   "grass", "subgrass",  "flowerhead", "flowerleg", "bfly1",
                                             "bfly2", "kubes", "kubeshigh", "earth",      "star",      "water",
                                             "ship",  "parus", "fish",      "qvlogo"};

struct Box {
    float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
};
Box bounds(const Mesh& m, float scale = 1) {
    Box b;
    for (const auto& v : m.vertices)
        for (int k = 0; k < 3; ++k) {
            b.lo[k] = std::min(b.lo[k], v[k] * scale);
            b.hi[k] = std::max(b.hi[k], v[k] * scale);
        }
    return b;
}

TEST(DatagenMeshes, EveryMeshIsWholeWithIndicesInRange) {
    for (const std::string& name : mesh_names) {
        const Mesh m = load(name);
        ASSERT_FALSE(m.vertices.empty()) << name << ".geox is missing or short";
        ASSERT_FALSE(m.faces.empty()) << name;
        EXPECT_EQ(m.file_size, 8 + 20 * m.vertices.size() + 12 * m.faces.size()) << name << " has trailing bytes";
        for (const auto& f : m.faces)
            for (int32_t i : f) ASSERT_TRUE(i >= 0 && i < static_cast<int32_t>(m.vertices.size())) << name << " index " << i;
        for (const auto& v : m.vertices)
            for (float x : v) ASSERT_TRUE(std::isfinite(x)) << name;
    }
}

// The scene blends the two poses vertex by vertex in z and mirrors z.
TEST(DatagenMeshes, ButterflyPosesDifferOnlyInTheBlendedCoordinate) {
    const Mesh up = load("bfly1"), down = load("bfly2");
    ASSERT_EQ(up.vertices.size(), down.vertices.size());
    ASSERT_EQ(up.faces, down.faces);
    bool differs = false;
    for (size_t i = 0; i < up.vertices.size(); ++i) {
        for (int k : {0, 1, 3, 4}) EXPECT_EQ(up.vertices[i][static_cast<size_t>(k)], down.vertices[i][static_cast<size_t>(k)]) << "vertex " << i;
        differs = differs || up.vertices[i][2] != down.vertices[i][2];
    }
    EXPECT_TRUE(differs) << "the wings do not move";
}

// Signed volume of a closed mesh: positive when its faces wind
// counter-clockwise seen from outside, so the computed normals point out.
double signed_volume(const Mesh& m) {
    double volume = 0;
    for (const auto& f : m.faces) {
        const auto& a = m.vertices[static_cast<size_t>(f[0])];
        const auto& b = m.vertices[static_cast<size_t>(f[1])];
        const auto& c = m.vertices[static_cast<size_t>(f[2])];
        volume += (double(a[0]) * (b[1] * c[2] - b[2] * c[1]) + a[1] * (b[2] * c[0] - b[0] * c[2]) + a[2] * (b[0] * c[1] - b[1] * c[0])) / 6;
    }
    return volume;
}

TEST(DatagenMeshes, ReflectiveAndRoundMeshesFaceOutwards) {
    const Mesh earth = load("earth"), fish = load("fish"), logo = load("qvlogo");
    EXPECT_NEAR(signed_volume(earth), 4.0 / 3 * std::numbers::pi * 1e6, 0.02 * 4.0 / 3 * std::numbers::pi * 1e6) << "a globe of radius 100";
    EXPECT_GT(signed_volume(fish), 0);
    EXPECT_GT(signed_volume(logo), 0);
}

TEST(DatagenMeshes, SizesFitTheSceneTransforms) {
    // Earth: radius 100 round the origin (a globe of 10 under the scale 0.1).
    for (const auto& v : load("earth").vertices) ASSERT_NEAR(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]), 100, 0.01);
    // Water: x and z from -15 to 15 at rest height 0, at least 4 vertices a unit.
    const Mesh water = load("water");
    const Box w = bounds(water);
    EXPECT_FLOAT_EQ(w.lo[0], -15);
    EXPECT_FLOAT_EQ(w.hi[0], 15);
    EXPECT_FLOAT_EQ(w.lo[2], -15);
    EXPECT_FLOAT_EQ(w.hi[2], 15);
    EXPECT_EQ(w.lo[1], 0);
    EXPECT_EQ(w.hi[1], 0);
    EXPECT_GE(water.vertices.size(), 121u * 121u);
    // Grass (x 1/30) a few tens of centimetres, stems (x 1/830) about half a unit.
    const Box grass = bounds(load("grass"), 1.0f / 30);
    EXPECT_GT(grass.hi[1], 0.15f);
    EXPECT_LT(grass.hi[1], 0.6f);
    const Box stem = bounds(load("flowerleg"), 1.0f / 830), head = bounds(load("flowerhead"), 1.0f / 830);
    EXPECT_NEAR(stem.hi[1], 0.5f, 0.15f);
    EXPECT_GT(head.hi[1], stem.hi[1]);
    EXPECT_LT(head.lo[1], stem.hi[1]);
    // Fish (x 1/3) shorter than the two-unit boy.
    const Box fish = bounds(load("fish"), 1.0f / 3);
    EXPECT_GT(fish.hi[0] - fish.lo[0], 0.5f);
    EXPECT_LT(fish.hi[0] - fish.lo[0], 2.0f);
    // Ground disc beyond the flowers (20 units), flat where the boy walks.
    const Mesh ground = load("subgrass");
    const Box g = bounds(ground);
    EXPECT_GE(g.hi[0], 25);
    EXPECT_LE(g.hi[0], 40);
    for (const auto& v : ground.vertices)
        if (std::hypot(v[0], v[2]) < 15) {
            ASSERT_NEAR(v[1], 0, 1e-4) << "the ground is not flat where the boy walks";
        }
}

// A mesh under a scene transform made of the fixed-function calls.
struct Transform {
    double m[3][4];
    std::array<double, 3> operator()(const std::array<float, 5>& v) const {
        std::array<double, 3> r;
        for (int i = 0; i < 3; ++i) r[static_cast<size_t>(i)] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2] + m[i][3];
        return r;
    }
};
Transform then(const Transform& a, const Transform& b) {
    Transform r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = j == 3 ? a.m[i][3] : 0;
            for (int k = 0; k < 3; ++k) r.m[i][j] += a.m[i][k] * b.m[k][j];
        }
    return r;
}
Transform scale(double x, double y, double z) { return {{{x, 0, 0, 0}, {0, y, 0, 0}, {0, 0, z, 0}}}; }
Transform move(double x, double y, double z) { return {{{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}}}; }
Transform turn_x(double degrees) {
    const double c = std::cos(degrees * std::numbers::pi / 180), s = std::sin(degrees * std::numbers::pi / 180);
    return {{{1, 0, 0, 0}, {0, c, -s, 0}, {0, s, c, 0}}};
}
Transform turn_y(double degrees) {
    const double c = std::cos(degrees * std::numbers::pi / 180), s = std::sin(degrees * std::numbers::pi / 180);
    return {{{c, 0, s, 0}, {0, 1, 0, 0}, {-s, 0, c, 0}}};
}

struct WorldBox {
    double lo[3] = {1e30, 1e30, 1e30}, hi[3] = {-1e30, -1e30, -1e30};
};
WorldBox world_bounds(const Mesh& m, const Transform& t) {
    WorldBox b;
    for (const auto& v : m.vertices) {
        const auto w = t(v);
        for (int k = 0; k < 3; ++k) {
            b.lo[k] = std::min(b.lo[k], w[static_cast<size_t>(k)]);
            b.hi[k] = std::max(b.hi[k], w[static_cast<size_t>(k)]);
        }
    }
    return b;
}

TEST(DatagenMeshes, TheShipFloatsAndItsSailStandsOverIt) {
    const WorldBox ship = world_bounds(load("ship"), then(then(turn_x(-90), scale(0.1, 0.1, 0.1)), move(0, 0, 45)));
    const WorldBox sail = world_bounds(load("parus"), then(then(scale(0.0625, 0.1, -1.0 / 22), turn_y(70)), move(-12, 65, -35)));
    EXPECT_LT(ship.lo[1], 5) << "the hull does not reach into the water";
    EXPECT_GT(ship.lo[1], 1.5) << "the keel sits on the seabed";
    EXPECT_GT(ship.hi[1], 10) << "no mast";
    EXPECT_GT(sail.lo[1], 6) << "the sail hangs into the hull";
    for (int k : {0, 2}) {
        EXPECT_GE(sail.lo[k], ship.lo[k] - 0.5) << "the sail overhangs the ship on axis " << k;
        EXPECT_LE(sail.hi[k], ship.hi[k] + 0.5) << "the sail overhangs the ship on axis " << k;
    }
    EXPECT_GT(sail.hi[1] - sail.lo[1], 4) << "the sail is too small to show the emblem";
}

// The scene turns the fish by rotate(-90, x) and scale 1/3 before heading it
// along its direction of travel, which is its own +x.
TEST(DatagenMeshes, TheFishSwimsHeadFirstAlongItsLengthBackUp) {
    const Mesh fish = load("fish");
    const Transform local = then(turn_x(-90), scale(1.0 / 3, 1.0 / 3, 1.0 / 3));
    const WorldBox b = world_bounds(fish, local);
    const double length = b.hi[0] - b.lo[0], height = b.hi[1] - b.lo[1], width = b.hi[2] - b.lo[2];
    EXPECT_GT(length, 2 * height);
    EXPECT_GT(height, 1.5 * width) << "a fish is flat from side to side";
    // The tail fin, thin and tall, lies at -x: the rear tenth is taller than it is thick.
    double tail_height = 0;
    for (const auto& v : fish.vertices) {
        const auto w = local(v);
        if (w[0] < b.lo[0] + 0.1 * length) tail_height = std::max(tail_height, std::fabs(w[1]));
    }
    EXPECT_GT(tail_height, 0.25 * height) << "no tail at the back";
}

TEST(DatagenMeshes, TheGlobesPolesLieOnTheAxisItTurnsAbout) {
    // rotate(90, y) carries the mesh's x axis onto the world z axis, about
    // which the scene turns the globe.
    for (const auto& v : load("earth").vertices)
        if (v[4] == 0 || v[4] == 1) {
            ASSERT_NEAR(std::fabs(v[0]), 100, 0.01) << "a pole off the turning axis";
        }
}

TEST(DatagenMeshes, PicturesStandUprightOnTheirMeshes) {
    // Grass blades and the butterfly's head belong at the picture's top (v = 0).
    for (const auto& v : load("grass").vertices) {
        if (v[1] == 0) {
            EXPECT_EQ(v[4], 1) << "a blade root is not at the picture's bottom";
        }
    }
    for (const auto& v : load("bfly1").vertices) {
        if (v[0] > 5) {
            EXPECT_LT(v[4], 0.2f) << "the head is not at the picture's top";
        }
    }
    // Facades count storeys down from the roof.
    const Mesh blocks = load("kubes");
    for (const auto& f : blocks.faces) {
        const auto& a = blocks.vertices[static_cast<size_t>(f[0])];
        const auto& b = blocks.vertices[static_cast<size_t>(f[1])];
        if (a[0] == b[0] && a[2] == b[2] && a[1] != b[1]) {
            const auto& top = a[1] > b[1] ? a : b;
            const auto& bottom = a[1] > b[1] ? b : a;
            EXPECT_LT(top[4], bottom[4]) << "a wall is upside down";
        }
    }
}

// World position of a sky-dome vertex under the scenes' rotate(90, x) and
// scale(1, 5, 1).
std::array<double, 3> sky_world(const std::array<float, 5>& v) { return {v[0], -double(v[2]), 5.0 * v[1]}; }

TEST(DatagenMeshes, TheSkyDomeHoldsTheMeadowAndTheSea) {
    const Mesh sky = load("sky");
    double nearest = 1e30, lowest = 1e30, highest = -1e30;
    for (const auto& v : sky.vertices) {
        const auto w = sky_world(v);
        nearest = std::min(nearest, std::hypot(w[0], w[1], w[2]));
        lowest = std::min(lowest, w[1]);
        highest = std::max(highest, w[1]);
    }
    // The farthest corner of the sea's tiles lies 297 units out.
    EXPECT_GT(nearest, 210 * std::sqrt(2.0) * 1.05) << "the dome cuts through the sea";
    EXPECT_LT(lowest, -100) << "the dome does not close below the ground";
    EXPECT_GT(highest, 100);
}

// Boxes of the city's buildings, from their roofs (faces whose corners share
// a height above the ground), in the scene's world units (x 0.012).
struct Roof {
    float x0, z0, x1, z1, height;
};
std::vector<Roof> roofs() {
    std::vector<Roof> all;
    for (const char* name : {"kubes", "kubeshigh"}) {
        const Mesh m = load(name);
        for (const auto& f : m.faces) {
            const auto& a = m.vertices[static_cast<size_t>(f[0])];
            const auto& b = m.vertices[static_cast<size_t>(f[1])];
            const auto& c = m.vertices[static_cast<size_t>(f[2])];
            if (a[1] <= 0 || a[1] != b[1] || a[1] != c[1]) continue;
            const float s = 0.012f;
            all.push_back({std::min({a[0], b[0], c[0]}) * s, std::min({a[2], b[2], c[2]}) * s, std::max({a[0], b[0], c[0]}) * s,
                           std::max({a[2], b[2], c[2]}) * s, a[1] * s});
        }
    }
    return all;
}

TEST(DatagenMeshes, TheCityLeavesTheBoysAvenueClear) {
    const std::vector<Roof> all = roofs();
    ASSERT_GT(all.size(), 50u);
    float tallest = 0, farthest = 0;
    for (const Roof& r : all) {
        // The boy walks along x = 0 from z = -7.5 to 7.5, his sprite 2 units wide.
        EXPECT_TRUE(r.x1 < -2.5f || r.x0 > 2.5f) << "a building stands in the avenue at x " << r.x0 << " ... " << r.x1;
        tallest = std::max(tallest, r.height);
        farthest = std::max({farthest, std::fabs(r.x0), std::fabs(r.x1), std::fabs(r.z0), std::fabs(r.z1)});
    }
    EXPECT_GT(tallest, 300 * 0.012f) << "no tall buildings";
    EXPECT_NEAR(farthest, 1500 * 0.012f, 300 * 0.012f) << "the city does not fill the speck cloud's square";
}

// ---- camera paths -----------------------------------------------------------

camera_path load_path(const char* name) {
    camera_path path{};
    load_camera_path(path, (data + name + ".camera").c_str());
    return path;
}

struct View {
    double x, y;     // normalised device coordinates of the point
    bool in_front;
    double facing;   // |cos| between the line of sight and the sprite's normal
};

// Where a world point lands on screen under the camera (gluPerspective with
// the scenes' aspect, gluLookAt).
View view(const camera_record& c, const std::array<double, 3>& p, const std::array<double, 3>& sprite_normal) {
    const double f[3] = {c.target_x - c.eye_x, c.target_y - c.eye_y, c.target_z - c.eye_z};
    const double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    const double fw[3] = {f[0] / fl, f[1] / fl, f[2] / fl};
    double s[3] = {fw[1] * c.up_z - fw[2] * c.up_y, fw[2] * c.up_x - fw[0] * c.up_z, fw[0] * c.up_y - fw[1] * c.up_x};
    const double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    for (double& k : s) k /= sl;
    const double u[3] = {s[1] * fw[2] - s[2] * fw[1], s[2] * fw[0] - s[0] * fw[2], s[0] * fw[1] - s[1] * fw[0]};
    const double d[3] = {p[0] - c.eye_x, p[1] - c.eye_y, p[2] - c.eye_z};
    const double ex = d[0] * s[0] + d[1] * s[1] + d[2] * s[2];
    const double ey = d[0] * u[0] + d[1] * u[1] + d[2] * u[2];
    const double ez = d[0] * fw[0] + d[1] * fw[1] + d[2] * fw[2];
    const double focal = 1 / std::tan(c.fov * std::numbers::pi / 360);
    const double dl = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const double facing = std::fabs(d[0] * sprite_normal[0] + d[1] * sprite_normal[1] + d[2] * sprite_normal[2]) / dl;
    return {ex / ez * focal / 1.33333333333, ey / ez * focal, ez > 0.1, facing};
}

struct Shot {
    const char* path;
    float from, to;                                            // local times at which the scene is seen
    bool squared;                                              // the scene plays its path at t^2
    std::array<double, 3> (*subject)(float t);                 // what must stay in view
    std::array<double, 3> sprite_normal;                       // the boy's sprite faces this axis (0 for none)
};

std::array<double, 3> meadow_boy(float t) { return {0, 1, 15.0 * (t - 1)}; }
std::array<double, 3> arena_boy(float t) { return {0, 1, (t - 0.4) * 7}; }
std::array<double, 3> city_boy(float t) { return {0, 1, (t - 0.5) * 15}; }
std::array<double, 3> globe_boy(float) { return {0, 11, 0}; }
std::array<double, 3> sea_boy(float t) { return {0, 1, (t - 0.5) * 15}; }
std::array<double, 3> ship(float) { return {-5, 8, 10}; }
std::array<double, 3> logo(float) { return {0, 0, 0}; }

TEST(DatagenCameras, PathsHoldWholeRecordsAndAtMost99) {
    for (const char* name : {"en1", "en2", "en3", "en4", "en5", "en6"}) {
        const std::vector<unsigned char> bytes = read_bytes(data + name + ".camera");
        ASSERT_GT(bytes.size(), 40u) << name << ".camera is missing or holds no key";
        EXPECT_EQ(bytes.size() % 40, 0u) << name;
        EXPECT_LE(bytes.size() / 40, 99u) << name;
    }
}

// The conductor shows en1, en3, en4 and en5 from about 0.285 of their span
// (once the cross-fade reaches 1/51), en2 throughout (under its veil until
// 0.4), en6 from about 0.57; the text scene shows en1 ... en3 at any time.
TEST(DatagenCameras, EveryPathKeepsItsSubjectInViewWhileTheSceneIsShown) {
    const Shot shots[] = {{"en1", 0.0f, 1.0f, false, meadow_boy, {1, 0, 0}},
                          {"en2", 0.4f, 1.0f, false, arena_boy, {1, 0, 0}},
                          {"en3", 0.0f, 1.0f, false, city_boy, {1, 0, 0}},
                          {"en4", 0.285f, 1.0f, true, globe_boy, {0, 0, 1}},
                          {"en5", 0.5f, 0.74f, false, sea_boy, {1, 0, 0}},
                          {"en5", 0.8f, 1.0f, false, ship, {0, 0, 0}},
                          {"en6", 0.57f, 1.0f, false, logo, {0, 0, 0}}};
    for (const Shot& shot : shots) {
        const camera_path path = load_path(shot.path);
        for (float t = shot.from; t < shot.to; t += 0.0025f) {
            camera_record c;
            interpolate_camera(c, path, shot.squared ? t * t : t);
            ASSERT_GT(c.fov, 30) << shot.path << " at " << t;
            ASSERT_LT(c.fov, 90) << shot.path << " at " << t;
            const View v = view(c, shot.subject(t), shot.sprite_normal);
            ASSERT_TRUE(v.in_front) << shot.path << " looks away at " << t;
            EXPECT_LT(std::fabs(v.x), 0.85) << shot.path << " loses its subject sideways at " << t;
            EXPECT_LT(std::fabs(v.y), 0.85) << shot.path << " loses its subject vertically at " << t;
            if (shot.sprite_normal[0] + shot.sprite_normal[2] > 0) {
                EXPECT_GT(v.facing, 0.35) << shot.path << " sees the sprite edge on at " << t;
            }
        }
    }
}

TEST(DatagenCameras, TheSeaPathDivesUnderTheSurfaceAndComesUpAgain) {
    const camera_path path = load_path("en5");
    auto eye_height = [&](float t) {
        camera_record c;
        interpolate_camera(c, path, t);
        return c.eye_y;
    };
    EXPECT_GT(eye_height(0.3f), 5) << "starts above the water";
    for (float t = 0.52f; t < 0.78f; t += 0.01f) EXPECT_LT(eye_height(t), 4.5f) << "under water at " << t;
    EXPECT_GT(eye_height(0.92f), 5.5f) << "surfaces near the ship";
}

TEST(DatagenCameras, TheCityCameraNeverEntersABuilding) {
    const std::vector<Roof> all = roofs();
    const camera_path path = load_path("en3");
    for (float t = 0; t < 1; t += 0.002f) {
        camera_record c;
        interpolate_camera(c, path, t);
        for (const Roof& r : all)
            ASSERT_FALSE(c.eye_x > r.x0 - 0.2f && c.eye_x < r.x1 + 0.2f && c.eye_z > r.z0 - 0.2f && c.eye_z < r.z1 + 0.2f &&
                         c.eye_y < r.height + 0.2f)
                << "inside a building at " << t;
    }
}

// A file holds no record for slot count, so the last segment of every path
// must play exactly as if the last key were repeated there: no swing of the
// view or the field of view towards an empty slot.
TEST(DatagenCameras, EveryPathEndsOnItsLastKey) {
    for (const char* name : {"en1", "en2", "en3", "en4", "en5", "en6"}) {
        const camera_path path = load_path(name);
        if (path.count < 4) continue;  // three keys or fewer always show slot 1
        auto repeated = std::make_unique<camera_path>(path);
        repeated->slots[path.count] = path.slots[path.count - 1];
        repeated->last_filled_slot = path.count;
        const double last_segment_start = static_cast<double>(path.count - 3) / (path.count - 2);
        for (double t = last_segment_start; t < 1; t += 0.0005) {
            camera_record played, expected;
            interpolate_camera(played, path, static_cast<float>(t));
            interpolate_camera(expected, *repeated, static_cast<float>(t));
            ASSERT_EQ(std::memcmp(&played, &expected, sizeof played), 0) << name << " at " << t;
        }
    }
}

TEST(DatagenCameras, TheLogoStaysInFrameAsItTurns) {
    const camera_path path = load_path("en6");
    camera_record c;
    interpolate_camera(c, path, 0);
    const Mesh logo_mesh = load("qvlogo");
    double widest = 0;
    for (double degrees = 0; degrees < 360; degrees += 15) {
        const Transform t = then(turn_y(degrees), scale(3, 3, 3));
        for (const auto& v : logo_mesh.vertices) {
            const View seen = view(c, t(v), {0, 0, 0});
            ASSERT_TRUE(seen.in_front);
            ASSERT_LT(std::fabs(seen.x), 0.95) << "cut off at " << degrees << " degrees";
            ASSERT_LT(std::fabs(seen.y), 0.95) << "cut off at " << degrees << " degrees";
            widest = std::max(widest, std::fabs(seen.x));
        }
    }
    EXPECT_GT(widest, 0.4) << "the logo is lost in the middle of the screen";
}

// ---- reproducibility --------------------------------------------------------

TEST(DatagenRun, ASecondRunWritesTheSameBytes) {
    const std::string dir = make_temp_dir("trof_datagen");
    const std::string command = std::string(TROF_BUILD_DIR) + "/tools/datagen/datagen " + dir + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    size_t compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(read_bytes(entry.path().string()) == read_bytes(data + name)) << name << " differs from the build's";
        ++compared;
    }
    EXPECT_EQ(compared, 51u + 16u + 6u + 1u) << "pictures, meshes, camera paths and the soundtrack";
    std::filesystem::remove_all(dir);
}

}  // namespace
