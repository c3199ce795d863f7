// Frames at a music time the caller chooses instead of the stream's: the
// capture tool, the player and the render tests drive the show with it,
// frame-exact.
#pragma once

#include <cstdint>

// From now on the frames show the times draw_show_frame is given, and the
// walking boy's ticks follow them; the music, if it plays, plays on.
void use_chosen_show_times();

// Module start-ups on the offscreen platform, with the clock and the tick
// count handed to the caller; no sound device is opened.
void prepare_show_offscreen();

// prepare_show_offscreen, then the demo's own window creation (an invisible
// 640x480 surface), which runs resize_view and init_gl: render targets,
// assets, the "loading" line and every scene init. False when no context
// could be made (the message has been shown); load errors end the program
// as they do in the demo.
bool start_show_offscreen();

// One frame at music_time, as draw_frame would draw it; the walking boy's
// tick count is taken from the music time. Does not swap.
void draw_show_frame(int32_t time);
// The frame at `time` as the live show draws it, whatever was drawn before:
// the warm-up frames of the grid of `fps` (frame_plan.h), then the frame.
// The capture tool and the player's seeks both come here.
void draw_show_frame_warmed(int32_t time, int fps);
