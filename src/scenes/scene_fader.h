// The environment conductor: cross-fades the six environment scenes in five
// segments under the letterbox frame, a caption and the glow.
#pragma once

#include <cstdint>

#include "engine/qor_scenes.h"

class tscene_fader : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};

// The conductor's own environment instances: created by its init (tests put
// stand-ins there), rendered by its render.
extern qor_genericscene* fader_en1;
extern qor_genericscene* fader_en2;
extern qor_genericscene* fader_en3;
extern qor_genericscene* fader_en4;
extern qor_genericscene* fader_en5;
extern qor_genericscene* fader_en6;

constexpr int fader_segment_count = 5;

// Where the conductor stands at progress p in [0, 1): segment = trunc(5 p),
// e = frac(5 p), and the incoming environment's opacity w = e^7, taken as 0
// while it is below 1/51.
struct fader_position {
    int32_t segment;
    float e;
    float w;
};
fader_position fader_position_at(float p);

// Local times (ms) of a segment's current and incoming environment at e.
int32_t fader_current_time(int32_t segment, float e);
int32_t fader_incoming_time(int32_t segment, float e);
