// Environment 1: a meadow with grass, flowers, butterflies and the walking boy.
#pragma once

#include "engine/qor_scenes.h"

class tscene_en1 : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};

// The boy sprite, walking in the y-z plane towards +z; its frame follows
// the tick count at 10 frames per second.
void draw_walking_boy();
