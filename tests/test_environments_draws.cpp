// The random layouts of the environment scenes: how many numbers each init
// takes from the shared generator, the generator's state after the whole
// start-up, the star layout's independence of earlier draws, and the strict
// disc test of the meadow's grass, and the grass clumps' view-test boxes.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "assets/qor_geox.h"
#include "frame/main_loop.h"
#include "platform/platform.h"
#include "scenes/scene_en1.h"
#include "scenes/scene_en2.h"
#include "scenes/scene_en3.h"
#include "scenes/scene_en4.h"
#include "scenes/scene_en5.h"
#include "scenes/scene_en6.h"
#include "support/gl_harness.h"
#include "support/show_harness.h"

namespace {

// A copy of the demo's generator, stepped here independently of it.
struct lcg {
    uint32_t state;
    uint32_t next(uint32_t n) {
        state = state * 134775813u + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(state) * n) >> 32);
    }
};

uint32_t advanced(uint32_t state, uint64_t draws) {
    lcg g{state};
    for (uint64_t i = 0; i < draws; ++i) g.next(1);
    return g.state;
}

// How many draws lead from one generator state to another (stops at limit).
uint64_t draws_between(uint32_t from, uint32_t to, uint64_t limit = 4'000'000) {
    lcg g{from};
    uint64_t n = 0;
    while (g.state != to && n < limit) {
        g.next(1);
        ++n;
    }
    return n;
}

constexpr uint64_t en1_fixed_draws = 101 * 5 + 201 * 5;
constexpr uint64_t en2_draws = 3 * 1501;
constexpr uint64_t en3_draws = 14 * 95001;
constexpr uint64_t en5_draws = 4 * 101;
constexpr uint32_t en4_seed = 8124751;

struct grass_count {
    uint64_t draws;
    uint64_t tries;
};

// The meadow's grass: two draws per rejection try, three per accepted clump.
grass_count en1_grass_draws(uint32_t state_after_flowers) {
    lcg g{state_after_flowers};
    grass_count c{0, 0};
    for (int clump = 0; clump < 9001; ++clump) {
        bool inside = false;
        while (!inside) {
            const double x = (g.next(100000) / 100000.0 - 0.5) * 2 * (35.0f / 3);
            const double z = (g.next(100000) / 100000.0 - 0.5) * 2 * (35.0f / 3);
            inside = inside_grass_disc(static_cast<float>(x), static_cast<float>(z));
            c.draws += 2;
            ++c.tries;
        }
        for (int k = 0; k < 3; ++k) g.next(10000);
        c.draws += 3;
    }
    return c;
}

uint64_t en1_draws(uint32_t state_before) {
    return en1_fixed_draws + en1_grass_draws(advanced(state_before, en1_fixed_draws)).draws;
}

// Three star fields of 334 groups: three draws per position try (until no
// coordinate is nearer than 10 to zero), then seven turns.
uint64_t en4_draws_after_reseed() {
    lcg g{en4_seed};
    uint64_t draws = 0;
    for (const double half : {200.0, 275.0, 350.0}) {
        for (int group = 0; group < 334; ++group) {
            float c[3] = {0, 0, 0};
            while (std::fabs(c[0]) < 10 || std::fabs(c[1]) < 10 || std::fabs(c[2]) < 10) {
                for (float& v : c) v = static_cast<float>((0.5 - g.next(100000) / 100000.0) * 2 * half);
                draws += 3;
            }
            for (int s = 0; s < 7; ++s) g.next(1360);
            draws += 7;
        }
    }
    return draws;
}

// The generator state right after the demo's start-up, taken once.
uint32_t state_after_startup() {
    static bool taken = false;
    static uint32_t state = 0;
    if (!taken) {
        show_harness_init();
        state = random_seed();
        taken = true;
    }
    return state;
}

// Runs one init from a chosen generator state and counts its draws.
uint64_t draws_of_init(qor_genericscene& scene, uint32_t from) {
    state_after_startup();
    set_random_seed(from);
    scene.init();
    return draws_between(from, random_seed());
}

}  // namespace

TEST(GrassDisc, CoordinatesSpanTheDiameterFromMinusRadius) {
    EXPECT_EQ(grass_coordinate(0), -grass_disc_radius);
    EXPECT_EQ(grass_coordinate(50000), 0.0f);
    EXPECT_LT(grass_coordinate(99999), grass_disc_radius);
    EXPECT_GT(grass_coordinate(99999), grass_disc_radius - 0.001f);
}

TEST(GrassDisc, PointExactlyOnTheCircleIsRejected) {
    // Draws 0 and 50000 give (-R, 0), a reachable point on the circle.
    EXPECT_FALSE(inside_grass_disc(grass_coordinate(0), grass_coordinate(50000)));
    EXPECT_FALSE(inside_grass_disc(0, grass_disc_radius));
    EXPECT_FALSE(inside_grass_disc(grass_disc_radius, 0));
    EXPECT_TRUE(inside_grass_disc(std::nextafter(-grass_disc_radius, 0.0f), 0));
    EXPECT_TRUE(inside_grass_disc(0, 0));
    EXPECT_FALSE(inside_grass_disc(9, 8));  // 12.04 from the centre
    EXPECT_TRUE(inside_grass_disc(8, 8));   // 11.31
}

// A clump skipped as out of view must make no fragment: every corner of the
// grass mesh through the clump's pose, as the GL itself composes it, lies in
// the clump's box, and the boxes stay clump-sized.
TEST(GrassDisc, EveryClumpLiesInsideItsViewTestBox) {
    show_harness_init();
    TGeoxData grass;
    load_geox(grass, "data\\grass.geox");
    ASSERT_FALSE(grass.vertices.empty());
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    for (int clump = 0; clump < grass_clump_count; ++clump) {
        glLoadIdentity();
        pose_grass_clump(clump);
        double m[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, m);
        const view_bounds& box = grass_clump_box(clump);
        for (int k = 0; k < 3; ++k) ASSERT_LT(box.hi[k] - box.lo[k], 1.0f) << clump;
        for (const TGeoxVertex& v : grass.vertices) {
            const double p[3] = {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12],
                                 m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13],
                                 m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14]};
            for (int k = 0; k < 3; ++k) {
                ASSERT_GE(p[k], box.lo[k]) << clump;
                ASSERT_LE(p[k], box.hi[k]) << clump;
            }
        }
    }
    glPopMatrix();
}

TEST(EnvironmentDraws, MeadowTakesButterfliesFlowersAndEveryGrassTry) {
    tscene_en1 scene;
    for (const uint32_t from : {initial_random_seed, 12345u}) {
        const uint64_t expected = en1_draws(from);
        const grass_count grass = en1_grass_draws(advanced(from, en1_fixed_draws));
        // About 4/pi tries per clump: the rejection really happens.
        EXPECT_GT(grass.tries, 9001u * 5 / 4);
        EXPECT_LT(grass.tries, 9001u * 4 / 3);
        EXPECT_EQ(draws_of_init(scene, from), expected) << "from " << from;
    }
}

TEST(EnvironmentDraws, ArenaTakesThreePerCross) {
    tscene_en2 scene;
    EXPECT_EQ(draws_of_init(scene, 777u), en2_draws);
}

TEST(EnvironmentDraws, CityTakesFourteenPerSpeck) {
    tscene_en3 scene;
    EXPECT_EQ(draws_of_init(scene, 4242u), en3_draws);
}

TEST(EnvironmentDraws, SeaTakesFourPerFish) {
    tscene_en5 scene;
    EXPECT_EQ(draws_of_init(scene, 99u), en5_draws);
}

TEST(EnvironmentDraws, LogoTakesNone) {
    tscene_en6 scene;
    EXPECT_EQ(draws_of_init(scene, 31337u), 0u);
}

TEST(EnvironmentDraws, StarFieldsRestartTheGeneratorWhateverCameBefore) {
    tscene_en4 scene;
    const uint32_t expected = advanced(en4_seed, en4_draws_after_reseed());
    for (const uint32_t from : {0u, initial_random_seed, 0xFFFFFFFFu}) {
        state_after_startup();
        set_random_seed(from);
        scene.init();
        EXPECT_EQ(random_seed(), expected) << "from " << from;
    }
}

TEST(EnvironmentDraws, StarLayoutLooksTheSameWhateverCameBefore) {
    tscene_en4 scene;
    scene.starttime = 0;
    scene.endtime = 100000;
    platform::set_fixed_ticks(0);
    std::vector<std::vector<uint8_t>> frames;
    for (const uint32_t from : {1u, 2u}) {
        state_after_startup();
        set_random_seed(from);
        scene.init();
        glEnable(GL_TEXTURE_2D);
        // The scene leaves GL_LEQUAL behind; start both frames alike.
        glDepthFunc(GL_LESS);
        scene.render(60000);
        frames.push_back(read_frame());
    }
    EXPECT_TRUE(frames[0] == frames[1]);
}

TEST(EnvironmentDraws, StartUpEndsAtTheStateOfEveryInitInOrder) {
    // The conductor's en1 ... en6, then the word scene's en1, en2, en3; en4
    // re-seeds, so everything before it drops out.
    uint32_t state = advanced(en4_seed, en4_draws_after_reseed() + en5_draws);
    state = advanced(state, en1_draws(state));
    state = advanced(state, en2_draws + en3_draws);
    EXPECT_EQ(state_after_startup(), state);
}
