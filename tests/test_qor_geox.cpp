// .geox files the tests write: axis order, the corrupt and short variants
// that must end the program, the normals, and what draw_geox emits (read
// back through GL feedback mode, with lighting showing which normal was used).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/qor_geox.h"
#include "support/asset_files.h"
#include "support/gl_harness.h"

namespace {

struct file_vertex {
    float x, z, y, u, v;  // the file's order
};

std::vector<unsigned char> geox_bytes(int32_t vertex_count, int32_t face_count,
                                      const std::vector<file_vertex>& vertices,
                                      const std::vector<int32_t>& indices) {
    std::vector<unsigned char> bytes;
    append_int32(bytes, vertex_count);
    append_int32(bytes, face_count);
    for (const file_vertex& v : vertices) {
        for (float f : {v.x, v.z, v.y, v.u, v.v}) append_float(bytes, f);
    }
    for (int32_t i : indices) append_int32(bytes, i);
    return bytes;
}

const std::vector<file_vertex> triangle = {{0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {0, 0, 1, 0, 1}};

class Geox : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override { dir = make_temp_dir("trof_geox"); }
    std::string write(const char* name, const std::vector<unsigned char>& bytes) const {
        const std::string path = dir + "/" + name;
        write_bytes(path, bytes);
        return path;
    }
};

TGeoxVertex at(float x, float y, float z) { return TGeoxVertex{x, y, z, 0, 0, 0, 0, 0}; }

TGeoxFace face(int32_t i0, int32_t i1, int32_t i2) { return TGeoxFace{i0, i1, i2, 0, 0, 0}; }

}  // namespace

TEST_F(Geox, FileAxesXZYBecomeMeshXYZ) {
    TGeoxData mesh;
    mesh.list = 77;
    load_geox(mesh, write("one.geox", geox_bytes(1, 0, {{1, 2, 3, 0.5f, 0.25f}}, {})).c_str());
    ASSERT_EQ(mesh.vertex_count, 1);
    ASSERT_EQ(mesh.face_count, 0);
    const TGeoxVertex& v = mesh.vertices.at(0);
    EXPECT_EQ(v.x, 1);
    EXPECT_EQ(v.y, 3) << "the file's third value is the vertical axis";
    EXPECT_EQ(v.z, 2);
    EXPECT_EQ(v.u, 0.5f);
    EXPECT_EQ(v.v, 0.25f);
    EXPECT_EQ(v.nx, 0);
    EXPECT_EQ(mesh.list, 77u) << "the loader leaves the display list alone";
}

TEST_F(Geox, FacesAreReadInCornerOrderAndTrailingBytesIgnored) {
    std::vector<unsigned char> bytes = geox_bytes(3, 1, triangle, {2, 0, 1});
    bytes.insert(bytes.end(), {9, 9, 9});
    TGeoxData mesh;
    load_geox(mesh, write("tri.geox", bytes).c_str());
    ASSERT_EQ(mesh.faces.size(), 1u);
    EXPECT_EQ(mesh.faces[0].i0, 2);
    EXPECT_EQ(mesh.faces[0].i1, 0);
    EXPECT_EQ(mesh.faces[0].i2, 1);
    EXPECT_EQ(mesh.vertices[2].y, 1);
}

TEST_F(Geox, EmptyFileLoadsAnEmptyMeshReplacingTheOld) {
    TGeoxData mesh;
    load_geox(mesh, write("tri.geox", geox_bytes(3, 1, triangle, {0, 1, 2})).c_str());
    load_geox(mesh, write("empty.geox", geox_bytes(0, 0, {}, {})).c_str());
    EXPECT_EQ(mesh.vertex_count, 0);
    EXPECT_EQ(mesh.face_count, 0);
    EXPECT_TRUE(mesh.vertices.empty());
    EXPECT_TRUE(mesh.faces.empty());
}

TEST_F(Geox, BadIndicesAndCountsShowCorruptedGeox) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::vector<std::vector<int32_t>> bad_faces = {
        {3, 0, 1}, {0, 3, 1}, {0, 1, 3}, {0, -1, 2}, {0, 1, 2, 0, 1, 99}};
    for (const auto& indices : bad_faces) {
        const int32_t faces = static_cast<int32_t>(indices.size() / 3);
        const std::string path = write("bad.geox", geox_bytes(3, faces, triangle, indices));
        TGeoxData mesh;
        EXPECT_EXIT(load_geox(mesh, path.c_str()), ::testing::ExitedWithCode(1),
                    "Error: CORRUPTED GEOX FILE!!!\n\".*bad\\.geox\": face .* names vertex")
            << "face indices " << ::testing::PrintToString(indices);
    }
    for (const auto& counts : std::vector<std::pair<int32_t, int32_t>>{{-1, 0}, {3, -2}}) {
        const std::string path = write("negative.geox", geox_bytes(counts.first, counts.second,
                                                                   triangle, {0, 1, 2}));
        TGeoxData mesh;
        EXPECT_EXIT(load_geox(mesh, path.c_str()), ::testing::ExitedWithCode(1),
                    "Error: CORRUPTED GEOX FILE!!!\n\".*negative\\.geox\": ");
    }
}

TEST_F(Geox, ShortOrMissingFilesAreFatalLoadErrorsNamingTheFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TGeoxData mesh;
    // Two faces announced, one stored.
    const std::string short_faces = write("short.geox", geox_bytes(3, 2, triangle, {0, 1, 2}));
    EXPECT_EXIT(load_geox(mesh, short_faces.c_str()), ::testing::ExitedWithCode(1),
                "Cannot load .*short\\.geox.*80 bytes.*need 92");
    // A header asking for two billion vertices must not allocate them first:
    // that would end in std::bad_alloc and an abort, not a load error.
    const std::string bomb = write("bomb.geox", geox_bytes(0x7fffffff, 0x7fffffff, {}, {}));
    EXPECT_EXIT(load_geox(mesh, bomb.c_str()), ::testing::ExitedWithCode(1),
                "Cannot load .*bomb\\.geox.*8 bytes");
    const std::string header = write("header.geox", {1, 0, 0});
    EXPECT_EXIT(load_geox(mesh, header.c_str()), ::testing::ExitedWithCode(1),
                "Cannot load .*header\\.geox");
    EXPECT_EXIT(load_geox(mesh, (dir + "/absent.geox").c_str()), ::testing::ExitedWithCode(1),
                "Cannot load .*absent\\.geox.*No such file");
}

TEST(GeoxNormals, FaceNormalIsUnitAndFollowsTheWinding) {
    TGeoxData mesh;
    mesh.vertices = {at(0, 0, 0), at(1, 0, 0), at(0, 1, 0), at(0, 0, 0), at(0, 3, 0)};
    mesh.faces = {face(0, 1, 2), face(0, 2, 1), face(0, 4, 3)};
    compute_face_normals(mesh);
    EXPECT_FLOAT_EQ(mesh.faces[0].nz, 1);
    EXPECT_EQ(mesh.faces[0].nx, 0);
    EXPECT_EQ(mesh.faces[0].ny, 0);
    EXPECT_FLOAT_EQ(mesh.faces[1].nz, -1) << "the other winding faces the other way";
    // Collinear corners: the zero vector is kept, not divided by zero.
    EXPECT_EQ(mesh.faces[2].nx, 0);
    EXPECT_EQ(mesh.faces[2].ny, 0);
    EXPECT_EQ(mesh.faces[2].nz, 0);
}

TEST(GeoxNormals, DegenerateFaceOfEqualPointsKeepsZero) {
    TGeoxData mesh;
    mesh.vertices = {at(2, 2, 2)};
    mesh.faces = {face(0, 0, 0)};
    compute_face_normals(mesh);
    EXPECT_EQ(mesh.faces[0].nx, 0);
    EXPECT_EQ(mesh.faces[0].ny, 0);
    EXPECT_EQ(mesh.faces[0].nz, 0);
}

TEST(GeoxNormals, VertexNormalIsThePlainAverageOfItsFaces) {
    TGeoxData mesh;
    mesh.vertices = {at(0, 0, 0), at(1, 0, 0), at(0, 1, 0), at(0, 0, 1), at(5, 5, 5)};
    // Face 0 lies in z = 0 (normal +z), face 1 in x = 0 (normal +x).
    mesh.faces = {face(0, 1, 2), face(0, 2, 3)};
    compute_face_normals(mesh);
    ASSERT_FLOAT_EQ(mesh.faces[1].nx, 1);
    mesh.vertices[4].nx = 9;  // stale: recomputing clears it
    compute_vertex_normals(mesh);
    EXPECT_FLOAT_EQ(mesh.vertices[0].nx, 0.5f);
    EXPECT_FLOAT_EQ(mesh.vertices[0].ny, 0);
    EXPECT_FLOAT_EQ(mesh.vertices[0].nz, 0.5f);
    EXPECT_FLOAT_EQ(mesh.vertices[1].nz, 1) << "used by face 0 only";
    EXPECT_FLOAT_EQ(mesh.vertices[3].nx, 1) << "used by face 1 only";
    EXPECT_EQ(mesh.vertices[4].nx, 0) << "used by no face";
}

TEST(GeoxNormals, AFaceNamingAVertexTwiceCountsTwice) {
    TGeoxData mesh;
    mesh.vertices = {at(0, 0, 0), at(1, 0, 0), at(0, 1, 0)};
    mesh.faces = {face(0, 1, 2), face(0, 0, 1)};
    // Set by hand: the second face's own normal would be zero.
    mesh.faces[0].nz = 1;
    mesh.faces[1].nx = 1;
    compute_vertex_normals(mesh);
    // Vertex 0: (0,0,1) once and (1,0,0) twice, over three uses.
    EXPECT_FLOAT_EQ(mesh.vertices[0].nx, 2.0f / 3);
    EXPECT_FLOAT_EQ(mesh.vertices[0].nz, 1.0f / 3);
}

namespace {

// One vertex as GL_3D_COLOR_TEXTURE feedback reports it.
struct fed_vertex {
    float x, y, z;
    float red;  // the lit colour: the diffuse term of the normal in force
    float s, t;
};

// Draws the mesh in feedback mode under identity matrices with a light
// along +z: a vertex's red value is the z component of its normal.
std::vector<fed_vertex> feedback(const TGeoxData& mesh, bool tex, bool face_n, bool vertex_n) {
    gl_harness_init();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat black[4] = {0, 0, 0, 1};
    const GLfloat white[4] = {1, 1, 1, 1};
    const GLfloat along_z[4] = {0, 0, 1, 0};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_POSITION, along_z);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glNormal3f(0, 0, 0.25f);
    glTexCoord2f(0.75f, 0.125f);

    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw_geox(mesh, tex, face_n, vertex_n);
    const GLint used = glRenderMode(GL_RENDER);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);

    std::vector<fed_vertex> out;
    for (GLint i = 0; i < used;) {
        EXPECT_EQ(buffer[i], GL_POLYGON_TOKEN);
        const int corners = static_cast<int>(buffer[i + 1]);
        i += 2;
        for (int c = 0; c < corners; ++c, i += 11) {
            out.push_back({buffer[i], buffer[i + 1], buffer[i + 2], buffer[i + 3],
                           buffer[i + 7], buffer[i + 8]});
        }
    }
    return out;
}

TGeoxData lit_triangle() {
    TGeoxData mesh;
    mesh.vertices = {at(-0.5f, -0.5f, 0), at(0.5f, -0.5f, 0), at(0, 0.5f, 0)};
    for (size_t i = 0; i < mesh.vertices.size(); ++i) {
        mesh.vertices[i].u = 0.25f * static_cast<float>(i);
        mesh.vertices[i].v = 0.5f;
        mesh.vertices[i].nz = 0.5f;
    }
    mesh.faces = {face(0, 1, 2)};
    mesh.faces[0].nz = 1;
    return mesh;
}

}  // namespace

TEST(GeoxDrawing, PositionsOnlyLeaveNormalAndTexCoordAsTheyWere) {
    const auto corners = feedback(lit_triangle(), false, false, false);
    ASSERT_EQ(corners.size(), 3u);
    for (const fed_vertex& v : corners) {
        EXPECT_NEAR(v.red, 0.25f, 0.01f);
        EXPECT_FLOAT_EQ(v.s, 0.75f);
        EXPECT_FLOAT_EQ(v.t, 0.125f);
    }
    // Window x of corners 0, 1, 2 in order (viewport 640 wide).
    EXPECT_NEAR(corners[0].x, 160, 0.01f);
    EXPECT_NEAR(corners[1].x, 480, 0.01f);
    EXPECT_NEAR(corners[2].x, 320, 0.01f);
}

TEST(GeoxDrawing, TexturedDrawSendsEachVertexUV) {
    const auto corners = feedback(lit_triangle(), true, false, false);
    ASSERT_EQ(corners.size(), 3u);
    for (size_t i = 0; i < corners.size(); ++i) {
        EXPECT_FLOAT_EQ(corners[i].s, 0.25f * static_cast<float>(i));
        EXPECT_FLOAT_EQ(corners[i].t, 0.5f);
        EXPECT_NEAR(corners[i].red, 0.25f, 0.01f) << "no normal sent";
    }
}

TEST(GeoxDrawing, FaceNormalsAndVertexNormalsReachTheLighting) {
    for (const fed_vertex& v : feedback(lit_triangle(), false, true, false)) {
        EXPECT_NEAR(v.red, 1, 0.01f);
    }
    for (const fed_vertex& v : feedback(lit_triangle(), false, false, true)) {
        EXPECT_NEAR(v.red, 0.5f, 0.01f);
    }
    // With both, each corner's vertex normal replaces the face normal.
    for (const fed_vertex& v : feedback(lit_triangle(), false, true, true)) {
        EXPECT_NEAR(v.red, 0.5f, 0.01f);
    }
}

TEST(GeoxDrawing, EmptyMeshEmitsNothing) {
    EXPECT_TRUE(feedback(TGeoxData{}, true, true, true).empty());
}
