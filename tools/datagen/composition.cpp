// The piece, part by part as the show runs: a soft intro under the sky layers
// that builds into the first hit, one variation for each environment segment,
// a hit on every word of the word scene, and an outro that winds down.
#include "composition.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "sequencer.h"

namespace music {
namespace {

using synth::Patch;
using synth::Track;
using synth::Wave;

// ---- Harmony: a bass root and four tones voiced around middle C so that
// neighbouring chords share tones.

struct Chord {
    int bass;
    int tones[4];
};

constexpr Chord Am{33, {57, 60, 64, 67}};
constexpr Chord Am9{33, {57, 60, 64, 71}};
constexpr Chord F{29, {57, 60, 65, 67}};
constexpr Chord C{36, {55, 60, 64, 67}};
constexpr Chord G{31, {55, 59, 62, 67}};
constexpr Chord Em{28, {55, 59, 64, 67}};
constexpr Chord Dm{26, {57, 62, 65, 69}};
constexpr Chord E{28, {56, 59, 64, 68}};

constexpr Chord main_chords[8] = {Am, F, C, G, Am, F, C, G};
constexpr Chord meadow_chords[8] = {C, G, Am, F, C, G, Am, F};
constexpr Chord city_chords[8] = {Am, Am, Dm, Dm, F, F, E, E};
constexpr Chord stars_chords[8] = {F, F, G, G, Em, Em, F, G};
constexpr Chord words_chords[8] = {Am, F, C, G, Am, F, G, E};
constexpr Chord outro_chords[8] = {Am, F, C, G, F, G, Em, Am};

// ---- Form: bars counted from the first downbeat (13769 ms). The intro's
// first bar begins just before the file does, so that its bars end on the
// first downbeat; each environment segment and the word scene has eight.

constexpr int intro_bar = -9;
constexpr int arena_bar = 0;
constexpr int meadow_bar = 8;
constexpr int city_bar = 16;
constexpr int stars_bar = 24;
constexpr int sea_bar = 32;
constexpr int words_bar = 40;
constexpr int outro_bar = 48;
constexpr int final_chord_bar = 56;
constexpr double travel_ms = 12392.0;  // the flash and "TRAVEL" of the intro's last second

// Silences just before the biggest downbeats: no note starts in them, so the
// hit lands out of a held breath.
struct Gap {
    float from_beat, to_beat;
};
constexpr Gap gaps[] = {
    {-0.25f, 0.0f}, {95.75f, 96.0f}, {127.75f, 128.0f}, {159.5f, 160.0f}, {191.75f, 192.0f}};

double bar_beat(int bar) { return bar * beats_per_bar; }

// Where the silence before the given bar's downbeat begins.
double gap_before(int bar) {
    for (const Gap& gap : gaps) {
        if (gap.to_beat == bar_beat(bar)) return gap.from_beat;
    }
    return bar_beat(bar);
}

bool in_gap(double beat) {
    return std::any_of(std::begin(gaps), std::end(gaps),
                       [&](const Gap& gap) { return beat >= gap.from_beat && beat < gap.to_beat; });
}

// ---- Sounds.

constexpr Patch pad_patch{.unison = 3, .detune_cents = 24, .width = 0.9f, .attack_s = 0.4f,
                          .decay_s = 1.5f, .sustain = 0.8f, .release_s = 0.9f, .cutoff_hz = 1200,
                          .env_octaves = 0.6f, .filter_decay_s = 1.2f, .resonance = 0.1f};
constexpr Patch intro_pad_patch{.unison = 3, .detune_cents = 20, .width = 0.9f, .attack_s = 2.0f,
                                .decay_s = 2.0f, .sustain = 0.85f, .release_s = 1.0f,
                                .cutoff_hz = 650, .env_octaves = 0.4f, .filter_decay_s = 2.0f};
constexpr Patch space_pad_patch{.unison = 5, .detune_cents = 32, .width = 1.0f, .attack_s = 1.0f,
                                .decay_s = 2.0f, .sustain = 0.85f, .release_s = 1.8f,
                                .cutoff_hz = 1600, .env_octaves = 0.5f, .filter_decay_s = 2.5f,
                                .resonance = 0.15f};
constexpr Patch bass_patch{.decay_s = 0.12f, .sustain = 0.5f, .release_s = 0.04f,
                           .cutoff_hz = 170, .env_octaves = 2.8f, .filter_decay_s = 0.08f,
                           .resonance = 0.3f};
constexpr Patch round_bass_patch{.decay_s = 0.2f, .sustain = 0.6f, .release_s = 0.05f,
                                 .cutoff_hz = 140, .env_octaves = 2.2f, .filter_decay_s = 0.1f,
                                 .resonance = 0.2f};
constexpr Patch sub_patch{.sub = 0.5f, .attack_s = 0.25f, .decay_s = 2.0f, .sustain = 0.8f,
                          .release_s = 0.5f, .cutoff_hz = 220};
constexpr Patch acid_patch{.sub = 0.3f, .decay_s = 0.2f, .sustain = 0.3f, .release_s = 0.05f,
                           .env_octaves = 3.0f, .filter_decay_s = 0.11f, .resonance = 0.85f};
constexpr Patch stab_patch{.unison = 5, .detune_cents = 28, .width = 0.9f, .decay_s = 0.14f,
                           .cutoff_hz = 700, .env_octaves = 2.8f, .filter_decay_s = 0.1f,
                           .resonance = 0.25f};
constexpr Patch hit_patch{.unison = 7, .detune_cents = 36, .width = 1.0f, .sub = 0.3f,
                          .decay_s = 0.3f, .sustain = 0.12f, .release_s = 0.2f, .cutoff_hz = 900,
                          .env_octaves = 3.2f, .filter_decay_s = 0.18f, .resonance = 0.15f};
constexpr Patch pluck_patch{.wave = Wave::pulse, .unison = 2, .detune_cents = 10, .width = 0.5f,
                            .decay_s = 0.13f, .release_s = 0.08f, .cutoff_hz = 600,
                            .env_octaves = 3.0f, .filter_decay_s = 0.09f, .resonance = 0.4f};
constexpr Patch lead_patch{.unison = 3, .detune_cents = 14, .width = 0.4f, .sub = 0.25f,
                           .attack_s = 0.008f, .decay_s = 0.4f, .sustain = 0.65f, .release_s = 0.15f,
                           .cutoff_hz = 1500, .env_octaves = 1.6f, .filter_decay_s = 0.25f,
                           .resonance = 0.25f, .vibrato_cents = 14};
constexpr Patch flute_patch{.wave = Wave::pulse, .attack_s = 0.03f, .decay_s = 0.5f,
                            .sustain = 0.7f, .release_s = 0.2f, .cutoff_hz = 1700,
                            .env_octaves = 0.8f, .filter_decay_s = 0.3f, .resonance = 0.1f,
                            .vibrato_cents = 18};

Patch with_cutoff(Patch patch, double cutoff_hz) {
    patch.cutoff_hz = static_cast<float>(cutoff_hz);
    return patch;
}

// ---- The drum kit and placing sounds on the grid.

struct Kit {
    Track kick, snare, clap, closed_hat, open_hat, crash, boom, tom_high, tom_mid, tom_low;
};

Kit kit;  // while the piece is composed

Kit make_kit() {
    return {synth::kick_sound(),    synth::snare_sound(),    synth::clap_sound(),
            synth::hat_sound(0.035), synth::hat_sound(0.16),  synth::crash_sound(),
            synth::boom_sound(),    synth::tom_sound(190.0), synth::tom_sound(150.0),
            synth::tom_sound(115.0)};
}

// Notes up to a beat long recur and are rendered once; longer ones rarely do.
constexpr double longest_kept_beats = 1.0;
constexpr float bell_decay_s = 1.0f;

void put(Bus bus, const Track& sound, double beat, float gain, float pan, Sends sends) {
    if (!in_gap(beat)) place_sound(bus, sound, beat_frame(beat), gain, pan, sends);
}

// ---- Drum patterns.

void drum(const Track& sound, double beat, float gain, float pan = 0.0f, float reverb = 0.0f) {
    put(Bus::drums, sound, beat, gain, pan, {reverb, 0.0f});
}

void kick(double beat, float gain) {
    drum(kit.kick, beat, gain);
    if (!in_gap(beat)) duck_under(beat_frame(beat), gain);
}

void four_on_the_floor(int bar, float gain) {
    for (int beat = 0; beat < beats_per_bar; ++beat) kick(bar_beat(bar) + beat, gain);
}

void backbeat(const Track& sound, int bar, float gain) {
    drum(sound, bar_beat(bar) + 1, gain, 0.05f, 0.15f);
    drum(sound, bar_beat(bar) + 3, gain, 0.05f, 0.15f);
}

// Closed hats on the sixteenths with the off-beat one leaning forward; when
// `open` is set, open hats take the off-beats.
void hats(int bar, float closed, float open) {
    static constexpr float accent[4] = {0.55f, 0.35f, 1.0f, 0.35f};
    for (int step = 0; step < 16; ++step) {
        const double beat = bar_beat(bar) + step / 4.0;
        if (open > 0.0f && step % 4 == 2) {
            drum(kit.open_hat, beat, open, -0.25f, 0.1f);
        } else if (closed > 0.0f) {
            drum(kit.closed_hat, beat, closed * accent[step % 4], 0.3f);
        }
    }
}

// Evenly spaced hits from one beat up to another, swelling as they go.
void roll(const Track& sound, double from_beat, double to_beat, int per_beat, float from_gain,
          float to_gain) {
    const int hits = static_cast<int>(std::lround((to_beat - from_beat) * per_beat));
    for (int i = 0; i < hits; ++i) {
        const float x = hits > 1 ? static_cast<float>(i) / static_cast<float>(hits - 1) : 1.0f;
        drum(sound, from_beat + static_cast<double>(i) / per_beat,
             from_gain + (to_gain - from_gain) * x, 0.0f, 0.1f);
    }
}

void toms_fill(int bar) {
    const double beat = bar_beat(bar) + 3;
    drum(kit.tom_high, beat, 0.5f, -0.4f, 0.2f);
    drum(kit.tom_mid, beat + 0.25, 0.55f, 0.0f, 0.2f);
    drum(kit.tom_low, beat + 0.5, 0.6f, 0.4f, 0.2f);
}

// The hit that opens a part: crash and sub drop over the part's first kick.
void downbeat_hit(int bar, float crash, float boom) {
    drum(kit.crash, bar_beat(bar), crash, 0.0f, 0.3f);
    drum(kit.boom, bar_beat(bar), boom);
}

// A rising noise sweep that ends where the gap before a downbeat begins.
void riser(int64_t from, double to_beat, float gain) {
    const int64_t to = beat_frame(to_beat);
    place_sound(Bus::drums, synth::riser_sound(to - from), from, gain, 0.0f, {});
}

// ---- Tonal patterns.

void note(const Patch& patch, double midi, double beat, double beats, float gain, float pan,
          Sends sends) {
    if (in_gap(beat)) return;
    const int64_t hold = beat_span_frames(beat, beat + beats);
    if (beats <= longest_kept_beats) {
        put(Bus::music, note_once(patch, float(midi), hold), beat, gain, pan, sends);
    } else {
        put(Bus::music, synth::note_sound(patch, midi, hold), beat, gain, pan, sends);
    }
}

void bell(int midi, double beat, float gain, float pan) {
    put(Bus::music, bell_once(static_cast<float>(midi), bell_decay_s), beat, gain, pan, {0.6f, 0.4f});
}

void chord(const Patch& patch, const Chord& chord, double beat, double beats, float gain,
           Sends sends) {
    for (int i = 0; i < 4; ++i) {
        note(patch, chord.tones[i], beat, beats, gain, static_cast<float>(i - 1.5) * 0.15f, sends);
    }
}

// A big chord for a hit: the voicing an octave up, over the root.
void hit_chord(const Chord& c, double beat, float gain) {
    Chord high = c;
    for (int& tone : high.tones) tone += 12;
    chord(hit_patch, high, beat, 0.6, gain, {0.35f, 0.15f});
    note(hit_patch, c.bass + 24, beat, 0.6, gain, 0.0f, {});
}

// Chord stabs on the given sixteenths of a bar.
void stabs(const Chord& c, int bar, std::span<const int> steps, float gain, double cutoff_hz) {
    const Patch patch = with_cutoff(stab_patch, cutoff_hz);
    for (int step : steps) chord(patch, c, bar_beat(bar) + step / 4.0, 0.2, gain, {0.2f, 0.3f});
}

// Sixteenths between the kicks; the bar's last one jumps an octave.
void rolling_bass(const Patch& patch, const Chord& c, int bar, float gain) {
    for (int beat = 0; beat < beats_per_bar; ++beat) {
        for (int step = 1; step < 4; ++step) {
            const int octave = beat == 3 && step == 3 ? 12 : 0;
            note(patch, c.bass + octave, bar_beat(bar) + beat + step / 4.0, 0.2, gain, 0.0f, {});
        }
    }
}

// Off-beat eighths, every second one an octave up.
void offbeat_bass(const Chord& c, int bar, float gain) {
    for (int beat = 0; beat < beats_per_bar; ++beat) {
        note(round_bass_patch, c.bass + 12 * (beat % 2), bar_beat(bar) + beat + 0.5, 0.4, gain,
             0.0f, {});
    }
}

// An acid line of octave and fifth leaps; accented steps open the filter further.
void acid_bass(const Chord& c, int bar, float gain, double cutoff_hz) {
    constexpr int rest = -1;
    static constexpr int figure[16] = {0, 0,  12, 0, rest, 0,    12, 7,
                                       0, rest, 10, 0, 12,   rest, 7,  12};
    static constexpr bool accent[16] = {true,  false, true, false, false, false, true,  false,
                                        false, false, true, false, true,  false, false, true};
    for (int step = 0; step < 16; ++step) {
        if (figure[step] == rest) continue;
        Patch patch = with_cutoff(acid_patch, cutoff_hz);
        if (accent[step]) patch.env_octaves += 1.2f;
        note(patch, c.bass + 12 + figure[step], bar_beat(bar) + step / 4.0, 0.2,
             accent[step] ? gain : gain * 0.75f, 0.0f, {0.05f, 0.1f});
    }
}

void held_bass(const Chord& c, double beat, double beats, float gain) {
    note(sub_patch, c.bass, beat, beats, gain, 0.0f, {});
}

// Sixteenths through the chord's tones over two octaves, alternating sides.
void arpeggio(const Patch& patch, const Chord& c, int bar, float gain, Sends sends) {
    static constexpr int order[16] = {0, 2, 4, 1, 3, 5, 2, 4, 6, 3, 5, 7, 4, 6, 5, 3};
    for (int step = 0; step < 16; ++step) {
        const int index = order[step];
        const int tone = index < 4 ? c.tones[index] : c.tones[index - 4] + 12;
        note(patch, tone + 12, bar_beat(bar) + step / 4.0, 0.22, gain,
             step % 2 == 0 ? -0.35f : 0.35f, sends);
    }
}

// High bell tones walking the chord every `spacing` beats, far out in the room.
void sparkle(const Chord& c, int bar, double spacing, float gain) {
    static constexpr int walk[8] = {3, 1, 2, 0, 2, 3, 1, 2};
    int i = 0;
    for (double beat = 0.0; beat < beats_per_bar; beat += spacing, ++i) {
        bell(c.tones[walk[i % 8]] + 24, bar_beat(bar) + beat, gain, i % 2 == 0 ? -0.6f : 0.6f);
    }
}

struct Tone {
    float beat, beats;
    int midi;
};

// The main theme over Am F C G, twice, the second time climbing higher.
constexpr Tone theme[] = {
    {0, 0.75, 81},   {0.75, 0.75, 79},  {1.5, 1, 76},     {2.5, 0.5, 74},   {3, 1, 76},
    {4, 0.75, 72},   {4.75, 0.75, 74},  {5.5, 1.5, 76},   {7, 0.5, 77},     {7.5, 0.5, 76},
    {8, 0.75, 79},   {8.75, 0.75, 76},  {9.5, 1, 72},     {10.5, 0.5, 74},  {11, 1, 76},
    {12, 0.75, 74},  {12.75, 0.75, 71}, {13.5, 1.5, 67},  {15, 0.5, 71},    {15.5, 0.5, 74},
    {16, 0.75, 81},  {16.75, 0.75, 79}, {17.5, 1, 76},    {18.5, 0.5, 74},  {19, 1, 76},
    {20, 0.75, 72},  {20.75, 0.75, 74}, {21.5, 1.5, 76},  {23, 0.5, 79},    {23.5, 0.5, 81},
    {24, 0.75, 84},  {24.75, 0.75, 83}, {25.5, 1, 79},    {26.5, 0.5, 76},  {27, 1, 79},
    {28, 0.75, 83},  {28.75, 0.75, 81}, {29.5, 2, 79},
};

// A pentatonic song for the meadow over C G Am F.
constexpr Tone meadow_tune[] = {
    {0, 0.5, 72},  {0.5, 0.5, 74},  {1, 1, 76},  {2, 0.5, 79},  {2.5, 1.5, 76},
    {4, 0.5, 74},  {4.5, 0.5, 76},  {5, 1, 74},  {6, 2, 67},    {8, 0.5, 72},
    {8.5, 0.5, 74}, {9, 1, 76},     {10, 0.5, 81}, {10.5, 1.5, 79}, {12, 0.5, 77},
    {12.5, 0.5, 76}, {13, 1, 74},   {14, 2, 72}, {16, 0.5, 79}, {16.5, 0.5, 81},
    {17, 1, 84},   {18, 0.5, 81},   {18.5, 1.5, 79}, {20, 0.5, 76}, {20.5, 0.5, 79},
    {21, 1, 74},   {22, 2, 71},     {24, 0.5, 72}, {24.5, 0.5, 76}, {25, 1, 81},
    {26, 0.5, 79}, {26.5, 1.5, 76}, {28, 1, 77}, {29, 1, 76},   {30, 1.5, 72},
};

// Plays the tune's notes that start before `until` beats, fading linearly
// from one gain to another across the tune.
void melody(const Patch& patch, std::span<const Tone> tune, int bar, double until, float from_gain,
            float to_gain, Sends sends) {
    for (const Tone& tone : tune) {
        if (tone.beat >= until) continue;
        const float x = static_cast<float>(tone.beat / until);
        note(patch, tone.midi, bar_beat(bar) + tone.beat, tone.beats,
             from_gain + (to_gain - from_gain) * x, 0.0f, sends);
    }
}

// ---- The parts.

// Pads fading in under the sky layers, bells turning like the layers, then a
// soft pulse; the last bar builds with a snare roll and a riser from the
// flash of "TRAVEL" into the first hit.
void intro() {
    constexpr Chord sky_chords[4] = {Am, F, C, G};
    for (int i = 0; i < 4; ++i) {
        const int bar = intro_bar + 2 * i;
        chord(intro_pad_patch, sky_chords[i], bar_beat(bar), 8, 0.10f + 0.03f * static_cast<float>(i),
              {0.5f, 0.2f});
        for (int half = 0; half < 2; ++half) sparkle(sky_chords[i], bar + half, 1.5, 0.08f);
        if (i >= 2) held_bass(sky_chords[i], bar_beat(bar), 8, 0.25f);
    }
    const int build = intro_bar + 8;
    chord(intro_pad_patch, E, bar_beat(build), 3.75, 0.22f, {0.5f, 0.2f});
    held_bass(E, bar_beat(build), 3.75, 0.3f);
    for (int bar = build - 4; bar <= build; ++bar) {
        const int k = bar - (build - 4);
        const Chord& c = bar == build ? E : sky_chords[(bar - intro_bar) / 2];
        arpeggio(with_cutoff(pluck_patch, 300.0 * std::exp2(0.6 * k)), c, bar,
                 0.06f + 0.04f * static_cast<float>(k), {0.25f, 0.3f});
    }
    four_on_the_floor(build - 2, 0.25f);
    four_on_the_floor(build - 1, 0.32f);
    hats(build - 1, 0.12f, 0.0f);
    kick(bar_beat(build), 0.5f);
    kick(bar_beat(build) + 1, 0.5f);
    roll(kit.snare, bar_beat(build), bar_beat(build) + 2, 2, 0.3f, 0.45f);
    roll(kit.snare, bar_beat(build) + 2, bar_beat(build) + 3, 4, 0.5f, 0.7f);
    roll(kit.snare, bar_beat(build) + 3, gap_before(arena_bar), 8, 0.75f, 1.0f);
    riser(ms_to_frame(travel_ms), gap_before(arena_bar), 0.45f);
}

// Grid arena: a driving electro groove with rolling bass, chord stabs and a
// bright arpeggio.
void arena() {
    static constexpr int stab_steps[] = {3, 6, 11, 14};
    downbeat_hit(arena_bar, 1.0f, 1.0f);
    hit_chord(Am, bar_beat(arena_bar), 0.22f);
    for (int k = 0; k < 8; ++k) {
        const int bar = arena_bar + k;
        const Chord& c = main_chords[k];
        four_on_the_floor(bar, 1.0f);
        backbeat(kit.clap, bar, 0.6f);
        hats(bar, 0.16f, 0.3f);
        rolling_bass(bass_patch, c, bar, 0.5f);
        chord(pad_patch, c, bar_beat(bar), 4, 0.10f, {0.3f, 0.0f});
        stabs(c, bar, stab_steps, 0.16f, 700.0);
        arpeggio(with_cutoff(pluck_patch, 900.0), c, bar, 0.14f, {0.2f, 0.25f});
    }
    roll(kit.snare, bar_beat(arena_bar + 7) + 3, bar_beat(arena_bar + 8), 4, 0.3f, 0.6f);
}

// Meadow: lighter and warmer; a bouncing off-beat bass, open pads and the
// pentatonic song, open hats joining halfway.
void meadow() {
    downbeat_hit(meadow_bar, 0.6f, 0.5f);
    for (int k = 0; k < 8; ++k) {
        const int bar = meadow_bar + k;
        const Chord& c = meadow_chords[k];
        four_on_the_floor(bar, 0.85f);
        backbeat(kit.clap, bar, 0.45f);
        hats(bar, 0.13f, k >= 4 ? 0.22f : 0.0f);
        offbeat_bass(c, bar, 0.45f);
        chord(with_cutoff(pad_patch, 1800.0), c, bar_beat(bar), 4, 0.15f, {0.4f, 0.0f});
        arpeggio(with_cutoff(pluck_patch, 1400.0), c, bar, 0.06f, {0.2f, 0.3f});
    }
    melody(flute_patch, meadow_tune, meadow_bar, 32, 0.30f, 0.30f, {0.35f, 0.3f});
    roll(kit.clap, bar_beat(meadow_bar + 7) + 3, bar_beat(meadow_bar + 8), 4, 0.25f, 0.5f);
}

// City of blocks: darker; an acid line that opens bar by bar, 3-3-2 stabs,
// a snare with ghost notes and tom fills.
void city() {
    static constexpr int stab_steps[] = {0, 3, 6, 8, 11, 14};
    downbeat_hit(city_bar, 0.7f, 0.8f);
    for (int k = 0; k < 8; ++k) {
        const int bar = city_bar + k;
        const double beat = bar_beat(bar);
        const Chord& c = city_chords[k];
        four_on_the_floor(bar, 1.0f);
        if (k % 2 == 1) kick(beat + 3.5, 0.6f);
        backbeat(kit.snare, bar, 0.55f);
        drum(kit.snare, beat + 1.75, 0.12f, -0.1f);
        drum(kit.snare, beat + 2.25, 0.12f, -0.1f);
        hats(bar, 0.2f, 0.0f);
        drum(kit.open_hat, beat + 3.5, 0.25f, -0.25f, 0.1f);
        acid_bass(c, bar, 0.42f, 180.0 * std::exp2(0.3 * k));
        stabs(c, bar, stab_steps, 0.13f, 450.0);
        chord(with_cutoff(pad_patch, 500.0), c, beat, 4, 0.08f, {0.3f, 0.0f});
        if (k % 4 == 3) toms_fill(bar);
    }
}

// Earth and stars: the beat drops out under wide pads and bells; from the
// middle the pulse returns and climbs, with a roll and a riser into the sea.
void stars() {
    downbeat_hit(stars_bar, 0.8f, 1.0f);
    hit_chord(F, bar_beat(stars_bar), 0.2f);
    kick(bar_beat(stars_bar), 1.0f);
    for (int k = 0; k < 8; ++k) {
        const int bar = stars_bar + k;
        const Chord& c = stars_chords[k];
        // Two bars a chord, then one each for the turn into the sea.
        const bool new_chord = k >= 6 || k % 2 == 0;
        const double beats = k < 6 ? 8 : 4;
        if (new_chord) {
            chord(space_pad_patch, c, bar_beat(bar), beats, 0.2f, {0.7f, 0.1f});
            held_bass(c, bar_beat(bar), beats, 0.3f);
        }
        sparkle(c, bar, 0.5, 0.07f);
        if (k < 4) continue;
        const float rise = static_cast<float>(k - 4);
        four_on_the_floor(bar, 0.45f + 0.12f * rise);
        hats(bar, 0.05f + 0.04f * rise, 0.0f);
        rolling_bass(with_cutoff(bass_patch, 100.0 * std::exp2(0.5 * rise)), c, bar,
                     0.35f + 0.05f * rise);
        arpeggio(with_cutoff(pluck_patch, 400.0 * std::exp2(0.5 * rise)), c, bar, 0.1f,
                 {0.2f, 0.25f});
    }
    const double last = bar_beat(stars_bar + 7);
    roll(kit.snare, last, last + 2, 2, 0.2f, 0.35f);
    roll(kit.snare, last + 2, gap_before(sea_bar), 4, 0.4f, 0.75f);
    riser(beat_frame(last), gap_before(sea_bar), 0.25f);
}

// Sea to the logo: the climax with the main theme on the lead over the full
// groove, a second crash halfway, and a roll into the word scene.
void sea() {
    downbeat_hit(sea_bar, 0.9f, 1.0f);
    drum(kit.crash, bar_beat(sea_bar + 4), 0.6f, 0.0f, 0.3f);
    for (int k = 0; k < 8; ++k) {
        const int bar = sea_bar + k;
        const Chord& c = main_chords[k];
        four_on_the_floor(bar, 1.0f);
        backbeat(kit.clap, bar, 0.65f);
        hats(bar, 0.18f, 0.35f);
        rolling_bass(with_cutoff(bass_patch, 240.0), c, bar, 0.5f);
        chord(pad_patch, c, bar_beat(bar), 4, 0.12f, {0.35f, 0.0f});
        arpeggio(with_cutoff(pluck_patch, 900.0), c, bar, 0.11f, {0.2f, 0.25f});
    }
    melody(lead_patch, theme, sea_bar, 32, 0.34f, 0.34f, {0.3f, 0.3f});
    const double last = bar_beat(sea_bar + 7);
    roll(kit.snare, last, last + 2, 2, 0.25f, 0.4f);
    roll(kit.snare, last + 2, gap_before(words_bar), 4, 0.45f, 0.8f);
    riser(beat_frame(last), gap_before(words_bar), 0.25f);
}

// The word scene: a hit on every word change (every two beats), a kick and
// clap between them, with the groove running underneath.
void words() {
    constexpr int word_count = 16;
    for (int w = 0; w < word_count; ++w) {
        const double beat = bar_beat(words_bar) + 2 * w;
        const Chord& c = words_chords[w / 2];
        drum(kit.boom, beat, 0.75f);
        drum(kit.snare, beat, 0.45f, 0.0f, 0.2f);
        if (w % 4 == 0) drum(kit.crash, beat, 0.4f, 0.0f, 0.2f);
        kick(beat, 1.0f);
        kick(beat + 1, 0.7f);
        drum(kit.clap, beat + 1, 0.4f, 0.05f, 0.15f);
        hit_chord(c, beat, 0.24f);
    }
    for (int k = 0; k < 8; ++k) {
        const int bar = words_bar + k;
        const Chord& c = words_chords[k];
        hats(bar, 0.16f, 0.28f);
        rolling_bass(with_cutoff(bass_patch, 240.0), c, bar, 0.45f);
        arpeggio(with_cutoff(pluck_patch, 1100.0), c, bar, 0.1f, {0.2f, 0.25f});
    }
    const double last = bar_beat(words_bar + 7) + 3;
    roll(kit.snare, last, gap_before(outro_bar), 4, 0.4f, 0.7f);
}

// Outro under the closing lines: one last hit, a half-time pulse that thins
// out, the theme's opening on the flute, bells, and a final chord ringing out.
void outro() {
    downbeat_hit(outro_bar, 0.9f, 1.0f);
    hit_chord(Am, bar_beat(outro_bar), 0.2f);
    for (int k = 0; k < 8; ++k) {
        const int bar = outro_bar + k;
        const double beat = bar_beat(bar);
        const Chord& c = outro_chords[k];
        chord(pad_patch, c, beat, 4, 0.14f - 0.01f * static_cast<float>(k), {0.5f, 0.1f});
        held_bass(c, beat, 4, 0.3f - 0.02f * static_cast<float>(k));
        if (k < 4) {
            const float fade = 1.0f - 0.25f * static_cast<float>(k);
            kick(beat, 0.7f * fade);
            kick(beat + 2, 0.6f * fade);
            hats(bar, 0.1f * fade, 0.0f);
            arpeggio(with_cutoff(pluck_patch, 900.0 - 150.0 * k), c, bar, 0.08f * fade,
                     {0.25f, 0.3f});
        } else {
            sparkle(c, bar, 1.5, 0.08f - 0.012f * static_cast<float>(k - 4));
        }
    }
    melody(flute_patch, theme, outro_bar, 16, 0.26f, 0.12f, {0.4f, 0.35f});
    const double end = bar_beat(final_chord_bar);
    chord(space_pad_patch, Am9, end, 8, 0.18f, {0.7f, 0.1f});
    held_bass(Am9, end, 8, 0.25f);
    bell(81, end, 0.12f, -0.3f);
    bell(76, end + 0.5, 0.1f, 0.3f);
}

// ---- Mastering touches.

// A gentle fade from the first sample and a fade to silence at the very end.
void fade_ends(Track& track) {
    constexpr double fade_in_s = 1.5, fade_out_s = 2.0;
    const int64_t frames = synth::frame_count(track);
    const int64_t in = std::llround(fade_in_s * synth::sample_rate);
    const int64_t out = std::llround(fade_out_s * synth::sample_rate);
    std::vector<float> gain(frames, 1.0f);
    for (int64_t n = 0; n < in; ++n) gain[n] = static_cast<float>(n) / static_cast<float>(in);
    for (int64_t n = frames - out; n < frames; ++n) {
        gain[n] = static_cast<float>(frames - 1 - n) / static_cast<float>(out);
    }
    synth::apply_gain(track, gain);
}

}  // namespace

Track compose_piece() {
    begin_mix(std::llround(duration_s * synth::sample_rate));
    kit = make_kit();
    intro();
    arena();
    meadow();
    city();
    stars();
    sea();
    words();
    outro();
    kit = {};
    Track master = mix_down();
    fade_ends(master);
    return master;
}

}  // namespace music
