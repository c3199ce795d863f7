// The piece: every voice of the soundtrack arranged on the show's timeline,
// mixed to one stereo track before mastering.
#pragma once

#include "synth.h"

namespace music {

constexpr double duration_s = 112.0;

synth::Track compose_piece();

}  // namespace music
