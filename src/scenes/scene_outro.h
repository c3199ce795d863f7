// The outro: sky layers under a veil, closing lines and the greetings scroll.
#pragma once

#include "engine/qor_scenes.h"

class tscene_outro : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};
