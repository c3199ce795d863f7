// Environment 1: a meadow with grass, flowers, butterflies and the walking boy.
#pragma once

#include <cstdint>

#include "engine/qor_scenes.h"

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
