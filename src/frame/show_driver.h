// Frames at a music time the caller chooses instead of the stream's: the
// capture tool and the render tests drive the show with it, frame-exact.
#pragma once

#include <cstdint>

// The demo's start-up without a window or sound: module start-ups, the
// view, init_gl's steps up to the scene inits (the music is not started).
// Needs a current 640x480 GL context.
void start_show_offscreen();

// One frame at music_time, as draw_frame would draw it; the walking boy's
// tick count is taken from the music time. Does not swap.
void draw_show_frame(int32_t music_time);
