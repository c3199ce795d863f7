// Environment 5: the sea with waves, ship, sail, fish and the underwater look.
#pragma once

#include "engine/qor_scenes.h"

class tscene_en5 : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};
