// The word rhythm: sixteen words over blurred environments and a net tunnel.
#pragma once

#include <cstdint>

#include "engine/qor_scenes.h"

class tscene_text : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};

// The text scene's own instances of the first three environments: created
// by its init (tests put stand-ins there), rendered as its backgrounds.
extern qor_genericscene* text_en1;
extern qor_genericscene* text_en2;
extern qor_genericscene* text_en3;

constexpr int text_word_count = 16;
extern const char* const text_words[text_word_count];

// The word on screen at progress p in [0, 1): trunc(16 p); its background is
// environment (index mod 3) + 1.
int32_t text_word_index(float p);
// The background environment's local time: trunc(100000 p), continuous
// across word changes.
int32_t text_background_time(float p);
// How far the current word's slot has run, in steps of 1/10000.
float text_slot_position(float p);
