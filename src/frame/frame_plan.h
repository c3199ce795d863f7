// Which music time each captured frame shows, and which earlier frames must
// be drawn first so that a frame carries the same state as in the live show.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/globalscenes.h"

// Frame k at F frames per second shows music time trunc(1000 k / F).
int32_t frame_time(int64_t k, int fps);
// The first frame whose time is at or after t.
int64_t first_frame_at_or_after(int32_t t, int fps);

// The frames the live show draws before `target` that leave state behind:
// the camera pose the intro and outro hand to the next frame, the field of
// view the outro keeps from the word scene's last frame, and the depth
// function the earth scene sets when it first renders (the word scene's
// environments draw with it). Ascending, all below target, on the grid of
// `fps`. Needs the scene table.
std::vector<int32_t> warmup_times(int32_t target, int fps);
