// The word rhythm: sixteen words over blurred environments and a net tunnel.
#pragma once

#include "engine/qor_scenes.h"

class tscene_text : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};

// The text scene's own instances of the first three environments.
extern qor_genericscene* text_en1;
extern qor_genericscene* text_en2;
extern qor_genericscene* text_en3;
