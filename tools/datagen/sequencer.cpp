// The soundtrack's sequencer: beats to milliseconds to sample frames, anchored
// on the show's downbeats, and the buses, sends and effects of the mix.
#include "sequencer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace music {
namespace {

using synth::Track;

struct Duck {
    int64_t at;
    float depth;
};

struct NoteKey {
    synth::Patch patch;
    float midi;
    int64_t hold;
    auto operator<=>(const NoteKey&) const = default;
};

struct BellKey {
    float midi, decay_s;
    auto operator<=>(const BellKey&) const = default;
};

// The mix under construction, between begin_mix and mix_down.
struct Desk {
    Track drums, music, reverb_send, delay_send;
    std::vector<Duck> ducks;
    std::map<NoteKey, Track> notes;
    std::map<BellKey, Track> bells;
};

Desk desk;

// The music bus dips under every kick and swells back, so the groove pumps.
std::vector<float> duck_curve(int64_t frames) {
    constexpr double depth = 0.5, recovery_s = 0.11, lead_in_s = 0.002;
    std::vector<float> gain(frames, 1.0f);
    std::sort(desk.ducks.begin(), desk.ducks.end(),
              [](const Duck& a, const Duck& b) { return a.at < b.at; });
    const int64_t lead_in = std::llround(lead_in_s * synth::sample_rate);
    for (size_t i = 0; i < desk.ducks.size(); ++i) {
        const Duck& duck = desk.ducks[i];
        const int64_t end = i + 1 < desk.ducks.size() ? desk.ducks[i + 1].at - lead_in : frames;
        for (int64_t n = std::max<int64_t>(0, duck.at - lead_in); n < std::min(end, frames); ++n) {
            const double t = static_cast<double>(n - duck.at) / synth::sample_rate;
            const double shape = t < 0.0 ? 1.0 + t / lead_in_s : std::exp(-t / recovery_s);
            gain[n] = static_cast<float>(1.0 - depth * duck.depth * shape);
        }
    }
    return gain;
}

}  // namespace

double beat_to_ms(double beat) {
    const double last_beat = (downbeat_count - 1) * beats_per_section;
    if (beat < 0.0) return downbeat_ms[0] + beat * beat_ms;
    if (beat >= last_beat) return downbeat_ms[downbeat_count - 1] + (beat - last_beat) * beat_ms;
    const int section = static_cast<int>(beat / beats_per_section);
    const double into = beat - section * beats_per_section;
    const double span = downbeat_ms[section + 1] - downbeat_ms[section];
    return downbeat_ms[section] + span * into / beats_per_section;
}

int64_t ms_to_frame(double ms) { return std::llround(ms * synth::sample_rate / 1000.0); }

int64_t beat_frame(double beat) { return ms_to_frame(beat_to_ms(beat)); }

int64_t beat_span_frames(double from_beat, double to_beat) {
    return beat_frame(to_beat) - beat_frame(from_beat);
}

void begin_mix(int64_t frames) {
    desk = {synth::make_track(frames), synth::make_track(frames), synth::make_track(frames),
            synth::make_track(frames), {}, {}, {}};
}

void place_sound(Bus bus, const Track& sound, int64_t at, float gain, float pan, Sends sends) {
    synth::place(bus == Bus::drums ? desk.drums : desk.music, sound, at, gain, pan);
    if (sends.reverb > 0.0f) synth::place(desk.reverb_send, sound, at, gain * sends.reverb, pan);
    if (sends.delay > 0.0f) synth::place(desk.delay_send, sound, at, gain * sends.delay, pan);
}

void duck_under(int64_t at, float depth) { desk.ducks.push_back({at, depth}); }

const Track& note_once(const synth::Patch& patch, float midi, int64_t hold_frames) {
    const NoteKey key{patch, midi, hold_frames};
    auto found = desk.notes.find(key);
    if (found == desk.notes.end()) {
        found = desk.notes.emplace(key, synth::note_sound(patch, midi, hold_frames)).first;
    }
    return found->second;
}

const Track& bell_once(float midi, float decay_s) {
    const BellKey key{midi, decay_s};
    auto found = desk.bells.find(key);
    if (found == desk.bells.end()) {
        found = desk.bells.emplace(key, synth::bell_sound(midi, decay_s)).first;
    }
    return found->second;
}

Track mix_down() {
    desk.notes.clear();
    desk.bells.clear();
    // Each bus is let go as soon as it is mixed down, to keep the memory low.
    const int64_t frames = synth::frame_count(desk.drums);
    synth::apply_gain(desk.music, duck_curve(frames));
    Track master = std::move(desk.drums);
    synth::mix_into(master, desk.music, 1.0f);
    desk.music = {};
    Track wet = synth::make_track(frames);
    // Echoes three sixteenths apart, crossing sides; they also feed the room.
    synth::ping_pong_delay(desk.delay_send, wet, beat_span_frames(0.0, 0.75), 0.4);
    desk.delay_send = {};
    synth::mix_into(desk.reverb_send, wet, 0.3f);
    synth::reverb(desk.reverb_send, wet, 0.86, 0.3);
    desk = {};
    synth::mix_into(master, wet, 1.0f);
    return master;
}

}  // namespace music
