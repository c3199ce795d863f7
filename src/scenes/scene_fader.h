// The environment conductor: cross-fades the six environment scenes in five
// segments under the letterbox frame, a caption and the glow.
#pragma once

#include "engine/qor_scenes.h"

class tscene_fader : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};

// The conductor's own environment instances, created by its init.
extern qor_genericscene* fader_en1;
extern qor_genericscene* fader_en2;
extern qor_genericscene* fader_en3;
extern qor_genericscene* fader_en4;
extern qor_genericscene* fader_en5;
extern qor_genericscene* fader_en6;
