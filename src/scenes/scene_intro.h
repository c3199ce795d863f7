// The intro: turning sky layers behind the title, flash, "TRAVEL" and wipe;
// and the two finishing steps every timeline scene shares.
#pragma once

#include "engine/qor_scenes.h"

class tscene_intro : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};

// Black bars top and bottom, the logo and the two festival lines.
void draw_letterbox_frame();
// The soft glow over the finished frame.
void glow_pass();
