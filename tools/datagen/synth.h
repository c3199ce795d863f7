// The soundtrack's synthesizer: oscillators, envelopes and filters, the drum
// and tonal voices, and the delay, reverb and limiter of the mix.
#pragma once

#include <compare>
#include <cstdint>
#include <vector>

namespace synth {

constexpr int sample_rate = 44100;

// A stereo signal. Voices render into short tracks that the sequencer places
// on the long buses of the mix.
struct Track {
    std::vector<float> left, right;
};

Track make_track(int64_t frames);
int64_t frame_count(const Track& track);
// Adds sound into the track from frame `at` on with gain and a constant-power
// pan (-1 left, 0 centre, 1 right); what falls outside the track is dropped.
void place(Track& into, const Track& sound, int64_t at, float gain, float pan);
void mix_into(Track& into, const Track& from, float gain);
void scale(Track& track, float gain);
float peak_of(const Track& track);

// White noise from a 32-bit xorshift generator: the same numbers on every run.
struct Noise {
    uint32_t state;
};
double noise_next(Noise& noise);  // uniform in [-1, 1)

double note_hz(double midi_note);

// Zero-delay-feedback state-variable filter; one instance per channel. Its
// integrators are kept in double: at low cutoffs single precision leaves
// audible noise and a drifting offset.
struct Filter {
    double g = 0, k = 2, ic1 = 0, ic2 = 0;
};
struct FilterOut {
    double low, band, high;
};
// resonance 0 is a gentle slope (Q 0.5), 1 is close to self-oscillation.
void filter_tune(Filter& filter, double hz, double resonance);
FilterOut filter_step(Filter& filter, double x);

// Drum sounds: each is rendered once and placed wherever it plays.
Track kick_sound();
Track snare_sound();
Track clap_sound();
Track hat_sound(double decay_s);
Track crash_sound();
Track tom_sound(double hz);
Track boom_sound();  // sub drop with a dull thump under the big hits
// Filtered noise that sweeps upwards and swells over `frames`, ending abruptly.
Track riser_sound(int64_t frames);

// A subtractive voice: detuned oscillator copies spread over the stereo field,
// a sub oscillator, an amplitude envelope and a low-pass filter with its own
// decaying envelope.
enum class Wave { saw, pulse, sine };
struct Patch {
    Wave wave = Wave::saw;
    int unison = 1;             // oscillator copies
    float detune_cents = 0.0f;  // between the outermost copies
    float width = 0.0f;         // 0 all copies centred, 1 outermost copies hard left/right
    float sub = 0.0f;           // level of a sine one octave below
    float attack_s = 0.002f, decay_s = 0.2f, sustain = 0.0f, release_s = 0.1f;
    float cutoff_hz = 1000.0f;  // filter cutoff with its envelope at rest
    float env_octaves = 0.0f;   // how far the filter envelope opens above the cutoff
    float filter_decay_s = 0.1f;
    float resonance = 0.0f;
    float vibrato_cents = 0.0f;  // fades in over the first third of a second

    friend auto operator<=>(const Patch&, const Patch&) = default;
};
// The note sounds for hold_frames, then releases.
Track note_sound(const Patch& patch, double midi_note, int64_t hold_frames);
// A two-operator FM bell.
Track bell_sound(double midi_note, double decay_s);

// Effects over whole buses: each adds its wet output into `out`.
void ping_pong_delay(const Track& send, Track& out, int64_t delay_frames, double feedback);
void reverb(const Track& send, Track& out, double room, double damping);
void apply_gain(Track& track, const std::vector<float>& gain);
// Look-ahead limiter: the gain falls smoothly before each peak that would pass
// the ceiling and recovers with the release time, so no sample exceeds it.
void limit_peaks(Track& track, float ceiling, int64_t lookahead_frames, double release_s);

}  // namespace synth
