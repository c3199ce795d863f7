// The intro: turning sky layers behind the title, flash, "TRAVEL" and wipe.
#pragma once

#include <cstdint>
#include <string>

#include "engine/qor_scenes.h"

class tscene_intro : public qor_genericscene {
public:
    void render(int32_t time) override;
    void init() override;
};

// The intro's walking cursor: "quor vane" as blanks with "_" at the
// character that 150 * p (to nearest, halves to even) selects, wrapping.
std::string intro_cursor_line(float p);
