// Environment 4: the turning earth among three star fields.
#pragma once

#include "engine/qor_scenes.h"

class tscene_en4 : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};
