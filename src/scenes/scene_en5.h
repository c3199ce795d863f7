// Environment 5: the sea with waves, ship, sail, fish and the underwater look.
#pragma once

#include "assets/qor_geox.h"
#include "engine/qor_scenes.h"

class tscene_en5 : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};

// The wave heights at scene time t: every vertex of water gets the height of
// the same vertex of rest plus a ripple that depends on t and the rest x and z
// only, so the surface never drifts from frame to frame.
void shape_waves(TGeoxData& water, const TGeoxData& rest, float t);
