// Environment 3: the city of blocks with its speck cloud and a 30 % veil.
#pragma once

#include "engine/qor_scenes.h"

class tscene_en3 : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};
