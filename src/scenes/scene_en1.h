// Environment 1: a meadow with grass, flowers, butterflies and the walking boy.
#pragma once

#include <cstdint>

#include "engine/qor_scenes.h"
#include "engine/view_volume.h"

class tscene_en1 : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};

// The grass grows inside a disc of this radius (35/3) around the origin.
constexpr float grass_disc_radius = 11.666667f;
// One coordinate of a grass point from a draw of random_int(100000): -R for 0,
// just below +R for 99999.
float grass_coordinate(uint32_t draw);
// Strictly inside: a point on the circle itself is drawn again.
bool inside_grass_disc(float x, float z);

// The grass field, once the start-up has built the meadow's lists: clump
// i's pose on top of the current matrix, and its box in the field's
// coordinates; a frame draws only the clumps whose box is in view.
constexpr int grass_clump_count = 9001;
void pose_grass_clump(int clump);
const view_bounds& grass_clump_box(int clump);
