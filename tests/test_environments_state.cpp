// What the environment scenes leave behind and what they put on screen: the
// GL state after every render, the arena's veil, the sea's waves as a pure
// function of time, the logo's untouched colour and blending, and the boy's
// frame following the tick count.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

#include "assets/qor_geox.h"
#include "assets/scene_globaldata.h"
#include "frame/globals.h"
#include "platform/platform.h"
#include "scenes/environment_steps.h"
#include "scenes/scene_en1.h"
#include "scenes/scene_en5.h"
#include "scenes/scene_fader.h"
#include "support/gl_harness.h"
#include "support/show_harness.h"

namespace {

struct environment {
    const char* name;
    qor_genericscene* const* scene;
};

const environment environments[] = {
    {"en1", &fader_en1}, {"en2", &fader_en2}, {"en3", &fader_en3},
    {"en4", &fader_en4}, {"en5", &fader_en5}, {"en6", &fader_en6},
};

const int32_t sample_times[] = {0, 1, 20000, 39999, 40000, 50000, 75000, 99999};

GLint get_int(GLenum what) {
    GLint v = 0;
    glGetIntegerv(what, &v);
    return v;
}

// The state the conductor hands an environment: texturing on, everything
// else off, one matrix pushed on the modelview stack.
void enter_like_the_conductor() {
    glEnable(GL_TEXTURE_2D);
    for (const GLenum cap : {GL_BLEND, GL_ALPHA_TEST, GL_FOG, GL_DEPTH_TEST, GL_TEXTURE_GEN_S,
                             GL_TEXTURE_GEN_T}) {
        glDisable(cap);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
}

// Everything an environment must leave off, on or unchanged, as one text
// naming each violation (empty when the state is right).
std::string state_faults(GLint entry_depth) {
    std::string faults;
    const struct {
        GLenum cap;
        bool on;
        const char* name;
    } expected[] = {
        {GL_BLEND, false, "blending"},        {GL_ALPHA_TEST, false, "alpha test"},
        {GL_FOG, false, "fog"},               {GL_DEPTH_TEST, false, "depth test"},
        {GL_TEXTURE_GEN_S, false, "s gen"},   {GL_TEXTURE_GEN_T, false, "t gen"},
        {GL_TEXTURE_2D, true, "texturing"},   {GL_VERTEX_ARRAY, false, "vertex array"},
        {GL_NORMAL_ARRAY, false, "normal array"}, {GL_TEXTURE_COORD_ARRAY, false, "texcoord array"},
    };
    for (const auto& e : expected) {
        if ((glIsEnabled(e.cap) == GL_TRUE) != e.on) faults += std::string(e.name) + " wrong; ";
    }
    GLboolean depth_writes = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
    if (depth_writes != GL_TRUE) faults += "depth writes off; ";
    if (get_int(GL_MODELVIEW_STACK_DEPTH) != entry_depth) faults += "modelview stack depth; ";
    if (get_int(GL_MATRIX_MODE) != GL_MODELVIEW) faults += "matrix mode; ";
    if (glGetError() != GL_NO_ERROR) faults += "GL error; ";
    return faults;
}

void render_as_conductor(qor_genericscene& scene, int32_t time) {
    enter_like_the_conductor();
    scene.render(time);
    glPopMatrix();
}

class Environments : public ::testing::Test {
protected:
    void SetUp() override {
        show_harness_init();
        platform::set_fixed_ticks(0);
        while (glGetError() != GL_NO_ERROR) {
        }
    }
};

bool near(uint8_t a, int b) { return std::abs(a - b) <= 1; }

}  // namespace

TEST_F(Environments, EveryOneLeavesTheSharedStateAsTheNextDrawingExpects) {
    for (const environment& env : environments) {
        ASSERT_NE(*env.scene, nullptr) << env.name;
        for (const int32_t time : sample_times) {
            enter_like_the_conductor();
            const GLint depth = get_int(GL_MODELVIEW_STACK_DEPTH);
            (*env.scene)->render(time);
            EXPECT_EQ(state_faults(depth), "") << env.name << " at " << time;
            glPopMatrix();
        }
    }
}

TEST_F(Environments, SeaLeavesItsStateAboveAndBelowTheSurface) {
    int below = 0, above = 0;
    for (int32_t time = 0; time < 100000; time += 2500) {
        enter_like_the_conductor();
        const GLint depth = get_int(GL_MODELVIEW_STACK_DEPTH);
        fader_en5->render(time);
        (current_camera.eye_y < 5 ? below : above) += 1;
        EXPECT_EQ(state_faults(depth), "") << "at " << time;
        EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LEQUAL);
        EXPECT_EQ(get_int(GL_FOG_MODE), GL_LINEAR);
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_FLOAT_EQ(colour[3], 0.5f);
        glPopMatrix();
    }
    // Both looks of the sea are exercised by its camera path.
    EXPECT_GT(below, 0);
    EXPECT_GT(above, 0);
}

TEST_F(Environments, StarsLeaveTheDepthFunctionAtLessOrEqual) {
    glDepthFunc(GL_LESS);
    render_as_conductor(*fader_en4, 30000);
    EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LEQUAL);
}

TEST_F(Environments, CityEndsWithThePixelProjectionAndAnIdentityModelview) {
    enter_like_the_conductor();
    glTranslatef(1, 2, 3);
    fader_en3->render(30000);
    GLfloat projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glPopMatrix();
    EXPECT_FLOAT_EQ(projection[0], 2.0f / 640);
    EXPECT_FLOAT_EQ(projection[5], -2.0f / 480);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
}

TEST_F(Environments, ArenaStartsUnderAnOpaquePinkVioletVeil) {
    render_as_conductor(*fader_en2, 0);
    // d = 1: colour (1, 0.35, 2 clamped to 1) at full opacity between the bars.
    for (const auto& [x, y] : {std::pair{320, 240}, {5, 65}, {634, 414}, {100, 300}}) {
        const rgb px = overlay_pixel(x, y);
        EXPECT_TRUE(near(px.r, 255) && near(px.g, 89) && near(px.b, 255))
            << x << "," << y << ": " << int(px.r) << " " << int(px.g) << " " << int(px.b);
    }
}

TEST_F(Environments, ArenaVeilIsHalfThinAtTwentyPercentAndGoneAtForty) {
    // At p = 0.2, d = 0.5: the veil (0.5, 0.0875, 1) covers half of every pixel.
    render_as_conductor(*fader_en2, 20000);
    std::vector<uint8_t> frame = read_frame();
    int dark_blue = 0;
    for (int y = 61; y < 419; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (frame[(y * 640 + x) * 3 + 2] < 127) ++dark_blue;
        }
    }
    EXPECT_EQ(dark_blue, 0);
    // At p = 0.4 the arena shows untinted: plenty of pixels with little blue.
    render_as_conductor(*fader_en2, 40000);
    frame = read_frame();
    for (int y = 61; y < 419; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (frame[(y * 640 + x) * 3 + 2] < 100) ++dark_blue;
        }
    }
    EXPECT_GT(dark_blue, 640 * 358 / 10);
}

TEST_F(Environments, LogoKeepsTheColourAndBlendingItWasGiven) {
    enter_like_the_conductor();
    glEnable(GL_BLEND);
    glColor4f(0.25f, 0.5f, 0.75f, 0.5f);
    fader_en6->render(70000);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FLOAT_EQ(colour[0], 0.25f);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);
    glDisable(GL_BLEND);
    glPopMatrix();
}

TEST(SeaWaves, HeightIsRestPlusRippleAndNothingElseMoves) {
    TGeoxData rest;
    rest.vertex_count = 3;
    rest.vertices = {{0.25f, 1, 0.25f, 0, 0, 0, 0.5f, 0.5f},
                     {0, 2, 0.5f, 0, 0, 0, 0.1f, 0.2f},
                     {0.1f, -1, 0.7f, 0, 0, 0, 1, 0}};
    TGeoxData water = rest;
    shape_waves(water, rest, 0);
    EXPECT_FLOAT_EQ(water.vertices[0].y, 1.2f);  // 0.2 sin(pi/2) sin(pi/2)
    EXPECT_NEAR(water.vertices[1].y, 2, 1e-6);   // sin(0) = 0
    const double t = 0.37;
    const double expected = -1 + 0.2 * std::sin(100 * t + 2 * std::numbers::pi * 0.1f) *
                                     std::sin(100 * t + 2 * std::numbers::pi * 0.7f);
    shape_waves(water, rest, static_cast<float>(t));
    EXPECT_NEAR(water.vertices[2].y, expected, 1e-6);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(water.vertices[i].x, rest.vertices[i].x);
        EXPECT_EQ(water.vertices[i].z, rest.vertices[i].z);
        EXPECT_EQ(water.vertices[i].u, rest.vertices[i].u);
        EXPECT_EQ(water.vertices[i].v, rest.vertices[i].v);
    }
}

TEST(SeaWaves, SurfaceIsAPureFunctionOfTime) {
    TGeoxData rest;
    for (int i = 0; i < 50; ++i) {
        const float f = static_cast<float>(i);
        rest.vertices.push_back({f * 0.37f, f * 0.01f, f * 0.11f, 0, 0, 0, 0, 0});
    }
    TGeoxData water = rest;
    shape_waves(water, rest, 0.61f);
    const std::vector<TGeoxVertex> first = water.vertices;
    for (const float other : {0.1f, 0.99f, 0.5f}) shape_waves(water, rest, other);
    shape_waves(water, rest, 0.61f);
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(water.vertices[i].y, first[i].y) << i;
}

TEST_F(Environments, SeaDrawsTheSamePictureForTheSameTime) {
    render_as_conductor(*fader_en5, 61000);
    const std::vector<uint8_t> first = read_frame();
    render_as_conductor(*fader_en5, 12000);
    render_as_conductor(*fader_en5, 93000);
    render_as_conductor(*fader_en5, 61000);
    EXPECT_TRUE(read_frame() == first);
}

TEST_F(Environments, BoyFrameFollowsTheTickCountNotTheSceneTime) {
    for (const auto& [ticks, frame] : {std::pair{0u, 0}, {199u, 1}, {750u, 7}, {800u, 0}, {1234u, 4}}) {
        platform::set_fixed_ticks(ticks);
        enter_like_the_conductor();
        draw_walking_boy();
        glPopMatrix();
        const std::string name = "boy" + std::to_string(frame);
        EXPECT_EQ(static_cast<uint32_t>(get_int(GL_TEXTURE_BINDING_2D)),
                  find_texture(texture_table, name.c_str()))
            << ticks;
        EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
    }
}
