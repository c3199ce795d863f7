// The soundtrack and its position, the one clock of the show.
#pragma once

#include <cstdint>

#include "platform/sound.h"

// Opened by start_music (0 when the soundtrack cannot play); read by
// read_music_clock.
extern sound::stream_handle music_stream;

void init_sound();
// init_sound, open "data\soundtrack.ogg", play it on channel 0.
void start_music();
// The stream position in ms, or the time a capture or test chooses.
int32_t read_music_clock();
// The stream position in ms (the silent clock's without a soundtrack),
// whatever source read_music_clock answers from.
int32_t read_music_stream();
// Hold the music still or let it play on; move it to ms. With no
// soundtrack the silent clock does the same.
void pause_music(bool paused);
void seek_music(int32_t ms);
// nullptr goes back to the stream.
void set_music_clock_source(int32_t (*source)());
