// Where the player stands on the show's timeline: the music time shown,
// pause, the loop range, and the seeks that move picture and music together.
#pragma once

#include <cstdint>
#include <vector>

// The frame grid of steps and of the warm-up that reproduces a frame: the
// capture tool's default, so that a shot equals its frame.
constexpr int player_fps = 60;

struct transport_state {
    int32_t time = 0;  // the music time of the frame on screen
    bool paused = false;
    // -1 while unset; the show plays from loop_start to loop_end over and
    // over once both are set with loop_start < loop_end.
    int32_t loop_start = -1;
    int32_t loop_end = -1;
    // Set by every seek and reload: the next frame is drawn with its
    // warm-up, equal to what the show draws at that time.
    bool exact = true;
};
// Written by the transport operations and the player's loop.
extern transport_state transport;

// Moves picture and music to ms, held within the show (0 ... 107999).
void transport_seek(int32_t ms);
void transport_set_paused(bool paused);
// Pauses, then moves by whole frames of the 60 fps grid.
void transport_step(int frames);
// To the previous (-1) or next (+1) start of a scene or conductor segment.
void transport_jump_boundary(int direction);
void transport_mark_loop_start();
void transport_mark_loop_end();
void transport_clear_loop();
bool transport_looping();
// The time of the next frame: the music clock while playing, sent back to
// the loop's start at its end, held paused on the show's last millisecond.
int32_t transport_next_time();

// The music times at which a timeline scene or a conductor segment begins,
// ascending.
std::vector<int32_t> timeline_boundaries();
