// Environment 6: the reflective festival logo turning once.
#pragma once

#include "engine/qor_scenes.h"

class tscene_en6 : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};
