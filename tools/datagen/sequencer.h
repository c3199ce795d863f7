// The soundtrack's sequencer: the clock that says where beats fall in samples,
// and the mixing desk that sequenced sounds land on. Every position is
// computed from the show's fixed downbeat times, never by adding up beat
// lengths, so no rounding error builds up over the piece.
#pragma once

#include <cstdint>

#include "synth.h"

namespace music {

constexpr double beat_ms = 12955.0 / 32.0;  // about 148.2 beats per minute
constexpr int beats_per_bar = 4;
constexpr int beats_per_section = 32;
// The downbeats where the picture changes: the end of the intro, the five
// environment segments, the word scene and the outro. Beat 0 is the first.
constexpr int downbeat_count = 7;
constexpr int downbeat_ms[downbeat_count] = {13769, 26724, 39679, 52634, 65589, 78544, 91501};

// Beats between two downbeats divide that span evenly (the word scene's span is
// 2 ms longer than the others); beats before the first downbeat and after the
// last run at the nominal tempo.
double beat_to_ms(double beat);
int64_t ms_to_frame(double ms);
int64_t beat_frame(double beat);
// Frames from one beat to a later one, each end placed on the grid.
int64_t beat_span_frames(double from_beat, double to_beat);

// The mixing desk. The music bus dips under the kicks; both buses feed a
// delay and a reverb in proportion to their sends.
enum class Bus { drums, music };
struct Sends {
    float reverb = 0.0f, delay = 0.0f;
};

// Starts an empty mix of the given length.
void begin_mix(int64_t frames);
void place_sound(Bus bus, const synth::Track& sound, int64_t at, float gain, float pan,
                 Sends sends);
// The music bus dips by up to `depth` (0 to 1) at the frame and swells back.
void duck_under(int64_t at, float depth);
// Short notes and bells recur all through a piece: each distinct one is
// rendered once and kept until the mix-down.
const synth::Track& note_once(const synth::Patch& patch, float midi, int64_t hold_frames);
const synth::Track& bell_once(float midi, float decay_s);
// Ducks the music bus, runs the effects and returns the sum of everything;
// the buses and the kept sounds are let go.
synth::Track mix_down();

}  // namespace music
