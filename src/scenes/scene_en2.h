// Environment 2: the grid arena with net discs, glow crosses and a veil.
#pragma once

#include "engine/qor_scenes.h"

class tscene_en2 : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};
