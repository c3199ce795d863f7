// The soundtrack's synthesizer: band-limited oscillators, envelopes, the
// state-variable filter, the drum and tonal voices and the bus effects.
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace synth {
namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double two_pi = 2.0 * pi;
constexpr double dt = 1.0 / sample_rate;

int64_t frames_for(double seconds) { return std::llround(seconds * sample_rate); }

// Exponential decay per frame for a time constant in seconds.
double decay_factor(double seconds) { return std::exp(-dt / seconds); }

// Removes the step at the end of a finite sound with a short linear fade.
void fade_tail(std::vector<float>& samples, int64_t frames) {
    const int64_t total = static_cast<int64_t>(samples.size());
    const int64_t first = std::max<int64_t>(0, total - frames);
    for (int64_t n = first; n < total; ++n) {
        samples[n] *= static_cast<float>(total - n) / static_cast<float>(total - first);
    }
}

Track stereo_from(std::vector<float> mono) {
    fade_tail(mono, frames_for(0.01));
    Track track;
    track.right = mono;
    track.left = std::move(mono);
    return track;
}

// The filter's per-sample step, kept in this file so that the voices' inner
// loops can inline it.
inline FilterOut filter_core(Filter& filter, double x) {
    const double a1 = 1.0 / (1.0 + filter.g * (filter.g + filter.k));
    const double a2 = filter.g * a1;
    const double a3 = filter.g * a2;
    const double v3 = x - filter.ic2;
    const double v1 = a1 * filter.ic1 + a2 * v3;
    const double v2 = filter.ic2 + a2 * filter.ic1 + a3 * v3;
    filter.ic1 = 2.0 * v1 - filter.ic1;
    filter.ic2 = 2.0 * v2 - filter.ic2;
    return {v2, v1, x - filter.k * v1 - v2};
}

// sin(2 pi turns) from an odd polynomial on the quarter wave: accurate to
// about 1e-7, much cheaper than the library sine in the inner loops, and the
// same on every machine.
double sine_turns(double turns) {
    double t = turns - std::floor(turns) - 0.5;  // in [-0.5, 0.5); the sine changes sign
    if (t > 0.25) t = 0.5 - t;
    if (t < -0.25) t = -0.5 - t;
    const double u = two_pi * t;
    const double u2 = u * u;
    const double poly =
        u * (1.0 + u2 * (-1.0 / 6 + u2 * (1.0 / 120 + u2 * (-1.0 / 5040 +
                                                          u2 * (1.0 / 362880 +
                                                                u2 * (-1.0 / 39916800))))));
    return -poly;
}

// Polynomial correction of a saw or pulse step that removes most aliasing.
double poly_blep(double phase, double step) {
    if (phase < step) {
        const double t = phase / step;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - step) {
        const double t = (phase - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double oscillator(Wave wave, double phase, double step) {
    switch (wave) {
        case Wave::saw:
            return 2.0 * phase - 1.0 - poly_blep(phase, step);
        case Wave::pulse: {
            const double half = phase < 0.5 ? phase + 0.5 : phase - 0.5;
            return (phase < 0.5 ? 1.0 : -1.0) + poly_blep(phase, step) - poly_blep(half, step);
        }
        case Wave::sine:
            return sine_turns(phase);
    }
    return 0.0;
}

struct PanGains {
    double left, right;
};

PanGains pan_gains(double pan) {
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * 0.25 * pi;
    return {std::cos(angle), std::sin(angle)};
}

// The six square waves of an analogue cymbal circuit; summed they give the
// clangorous tone that hats and crashes are filtered from.
double metallic(double t, double scale) {
    static constexpr double hz[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double sum = 0;
    for (double f : hz) sum += std::fmod(t * f * scale, 1.0) < 0.5 ? 1.0 : -1.0;
    return sum / 6.0;
}

// One channel of high-passed metal and noise with an exponential decay.
std::vector<float> cymbal_channel(int64_t frames, double decay_s, double cutoff_hz, uint32_t seed,
                                  double metal_scale) {
    std::vector<float> out(frames);
    Noise noise{seed};
    Filter high;
    filter_tune(high, cutoff_hz, 0.15);
    double level = 1.0;
    const double fall = decay_factor(decay_s);
    for (int64_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) * dt;
        const double raw = 0.55 * metallic(t, metal_scale) + 0.6 * noise_next(noise);
        const double attack = std::min(1.0, t / 0.0005);
        out[n] = static_cast<float>(filter_core(high, raw).high * level * attack);
        level *= fall;
    }
    return out;
}

// Noise through a band-pass whose centre moves exponentially from `from_hz` to
// `to_hz`, swelling with the square of the time.
std::vector<float> sweep_channel(int64_t frames, double from_hz, double to_hz, uint32_t seed) {
    std::vector<float> out(frames);
    Noise noise{seed};
    Filter band;
    for (int64_t n = 0; n < frames; ++n) {
        const double x = static_cast<double>(n) / static_cast<double>(frames);
        if (n % 16 == 0) filter_tune(band, from_hz * std::pow(to_hz / from_hz, x), 0.55);
        out[n] = static_cast<float>(filter_core(band, noise_next(noise)).band * x * x * 1.6);
    }
    return out;
}

}  // namespace

Track make_track(int64_t frames) {
    Track track;
    track.left.assign(frames, 0.0f);
    track.right.assign(frames, 0.0f);
    return track;
}

int64_t frame_count(const Track& track) { return static_cast<int64_t>(track.left.size()); }

void place(Track& into, const Track& sound, int64_t at, float gain, float pan) {
    const PanGains pans = pan_gains(pan);
    // Centre placement keeps the sound's own level (the constant-power law is
    // 3 dB down at the centre).
    const float left = static_cast<float>(pans.left * std::sqrt(2.0)) * gain;
    const float right = static_cast<float>(pans.right * std::sqrt(2.0)) * gain;
    const int64_t first = std::max<int64_t>(0, -at);
    const int64_t last = std::min(frame_count(sound), frame_count(into) - at);
    for (int64_t n = first; n < last; ++n) {
        into.left[at + n] += sound.left[n] * left;
        into.right[at + n] += sound.right[n] * right;
    }
}

void mix_into(Track& into, const Track& from, float gain) {
    const int64_t frames = std::min(frame_count(into), frame_count(from));
    for (int64_t n = 0; n < frames; ++n) {
        into.left[n] += from.left[n] * gain;
        into.right[n] += from.right[n] * gain;
    }
}

void scale(Track& track, float gain) {
    for (float& s : track.left) s *= gain;
    for (float& s : track.right) s *= gain;
}

float peak_of(const Track& track) {
    float peak = 0.0f;
    for (int64_t n = 0; n < frame_count(track); ++n) {
        peak = std::max({peak, std::fabs(track.left[n]), std::fabs(track.right[n])});
    }
    return peak;
}

double noise_next(Noise& noise) {
    uint32_t x = noise.state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    noise.state = x;
    return static_cast<double>(x) / 2147483648.0 - 1.0;
}

double note_hz(double midi_note) { return 440.0 * std::exp2((midi_note - 69.0) / 12.0); }

void filter_tune(Filter& filter, double hz, double resonance) {
    filter.g = std::tan(pi * std::clamp(hz, 10.0, 0.45 * sample_rate) / sample_rate);
    filter.k = 2.0 - 1.9 * std::clamp(resonance, 0.0, 1.0);
}

FilterOut filter_step(Filter& filter, double x) { return filter_core(filter, x); }

Track kick_sound() {
    const int64_t frames = frames_for(0.5);
    std::vector<float> out(frames);
    Noise noise{0x2545F491u};
    Filter click;
    filter_tune(click, 3500.0, 0.2);
    double phase = 0.0;
    for (int64_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) * dt;
        // The pitch falls from a knock to a low thud; the phase is integrated
        // so that the sweep stays continuous.
        phase += (46.0 + 120.0 * std::exp(-t / 0.03) + 260.0 * std::exp(-t / 0.004)) * dt;
        const double body = sine_turns(phase) * std::exp(-t / 0.2);
        const double snap = filter_core(click, noise_next(noise)).band * std::exp(-t / 0.003);
        out[n] = static_cast<float>(std::tanh(1.6 * (body + 0.6 * snap)) / std::tanh(1.6));
    }
    return stereo_from(std::move(out));
}

Track snare_sound() {
    const int64_t frames = frames_for(0.35);
    std::vector<float> out(frames);
    Noise noise{0x9E3779B9u};
    Filter high;
    filter_tune(high, 1800.0, 0.1);
    for (int64_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) * dt;
        const double tone = 0.55 * sine_turns(185.0 * t) * std::exp(-t / 0.05) +
                            0.3 * sine_turns(330.0 * t) * std::exp(-t / 0.03);
        const double rattle = filter_core(high, noise_next(noise)).high * std::exp(-t / 0.1);
        out[n] = static_cast<float>(tone + 0.8 * rattle);
    }
    return stereo_from(std::move(out));
}

Track clap_sound() {
    const int64_t frames = frames_for(0.4);
    Track track = make_track(frames);
    // Each channel claps with its own noise, which gives the sound its width.
    for (int channel = 0; channel < 2; ++channel) {
        std::vector<float>& out = channel == 0 ? track.left : track.right;
        Noise noise{channel == 0 ? 0x68E31DA4u : 0xB5297A4Du};
        Filter band;
        filter_tune(band, 1250.0, 0.45);
        for (int64_t n = 0; n < frames; ++n) {
            const double t = static_cast<double>(n) * dt;
            // Three quick hand claps, then the room's tail.
            double level = 0.0;
            for (double start : {0.0, 0.009, 0.018}) {
                if (t >= start) level += std::exp(-(t - start) / 0.004);
            }
            if (t >= 0.027) level += 0.7 * std::exp(-(t - 0.027) / 0.11);
            out[n] = static_cast<float>(filter_core(band, noise_next(noise)).band * level * 1.6);
        }
        fade_tail(out, frames_for(0.01));
    }
    return track;
}

Track hat_sound(double decay_s) {
    const int64_t frames = frames_for(decay_s * 6.0);
    return stereo_from(cymbal_channel(frames, decay_s, 7000.0, 0x1B873593u, 1.0));
}

Track crash_sound() {
    const int64_t frames = frames_for(3.5);
    Track track;
    track.left = cymbal_channel(frames, 0.9, 3500.0, 0xCC9E2D51u, 2.3);
    track.right = cymbal_channel(frames, 0.95, 3500.0, 0x85EBCA6Bu, 2.31);
    fade_tail(track.left, frames_for(0.05));
    fade_tail(track.right, frames_for(0.05));
    return track;
}

Track tom_sound(double hz) {
    const int64_t frames = frames_for(0.6);
    std::vector<float> out(frames);
    double phase = 0.0;
    for (int64_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) * dt;
        phase += hz * (1.0 + 0.6 * std::exp(-t / 0.04)) * dt;
        out[n] = static_cast<float>(sine_turns(phase) * std::exp(-t / 0.18));
    }
    return stereo_from(std::move(out));
}

Track boom_sound() {
    const int64_t frames = frames_for(2.5);
    std::vector<float> out(frames);
    Noise noise{0xE6546B64u};
    Filter low;
    filter_tune(low, 700.0, 0.1);
    double phase = 0.0;
    for (int64_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) * dt;
        phase += (36.0 + 60.0 * std::exp(-t / 0.08)) * dt;
        const double sub = sine_turns(phase) * std::exp(-t / 0.6);
        const double thump = filter_core(low, noise_next(noise)).low * std::exp(-t / 0.05);
        out[n] = static_cast<float>(std::tanh(1.3 * sub + 1.5 * thump));
    }
    return stereo_from(std::move(out));
}

Track riser_sound(int64_t frames) {
    Track track;
    track.left = sweep_channel(frames, 300.0, 9000.0, 0x27D4EB2Fu);
    track.right = sweep_channel(frames, 310.0, 9300.0, 0x165667B1u);
    return track;
}

Track note_sound(const Patch& patch, double midi_note, int64_t hold_frames) {
    const int64_t frames = hold_frames + frames_for(patch.release_s * 5.0);
    Track out = make_track(frames);
    const int copies = std::max(1, patch.unison);
    std::vector<double> phase(copies), step(copies);
    std::vector<PanGains> pans(copies);
    // Start phases differ per copy, drawn from a seed that depends only on the
    // note, so a chord sounds full and every run sounds the same.
    Noise noise{0x5BD1E995u ^ static_cast<uint32_t>(midi_note * 64.0)};
    const double hz = note_hz(midi_note);
    for (int c = 0; c < copies; ++c) {
        const double spread = copies == 1 ? 0.0 : 2.0 * c / (copies - 1) - 1.0;
        step[c] = hz * std::exp2(spread * patch.detune_cents / 2400.0) * dt;
        phase[c] = 0.5 * (noise_next(noise) + 1.0);
        pans[c] = pan_gains(spread * patch.width);
    }
    const double norm = 1.0 / std::sqrt(static_cast<double>(copies));
    const double attack = std::max(1.0, double(patch.attack_s) * sample_rate);
    const double decay = decay_factor(patch.decay_s);
    const double release = decay_factor(patch.release_s);
    const double filter_fall = decay_factor(patch.filter_decay_s);
    const double vibrato_depth = patch.vibrato_cents / 1200.0 * std::log(2.0);
    Filter left, right;
    double above_sustain = 1.0, level = 0.0, filter_env = 1.0, sub_phase = 0.0;
    for (int64_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) * dt;
        if (n % 16 == 0) {
            const double cutoff = patch.cutoff_hz * std::exp2(patch.env_octaves * filter_env);
            filter_tune(left, cutoff, patch.resonance);
            filter_tune(right, cutoff, patch.resonance);
        }
        if (n < hold_frames) {
            if (static_cast<double>(n) < attack) {
                level = static_cast<double>(n) / attack;
            } else {
                level = patch.sustain + (1.0 - patch.sustain) * above_sustain;
                above_sustain *= decay;
            }
        } else {
            level *= release;
        }
        filter_env *= filter_fall;
        const double bend =
            vibrato_depth == 0.0
                ? 1.0
                : 1.0 + vibrato_depth * std::min(1.0, t / 0.35) * sine_turns(5.5 * t);
        double l = 0.0, r = 0.0;
        for (int c = 0; c < copies; ++c) {
            const double s = oscillator(patch.wave, phase[c], step[c] * bend);
            phase[c] += step[c] * bend;
            if (phase[c] >= 1.0) phase[c] -= 1.0;
            l += s * pans[c].left;
            r += s * pans[c].right;
        }
        double sub = 0.0;
        if (patch.sub != 0.0) {
            sub_phase += 0.5 * step[copies / 2] * bend;
            sub = patch.sub * sine_turns(sub_phase) * std::sqrt(0.5);
        }
        out.left[n] = static_cast<float>(filter_core(left, l * norm + sub).low * level);
        out.right[n] = static_cast<float>(filter_core(right, r * norm + sub).low * level);
    }
    return out;
}

Track bell_sound(double midi_note, double decay_s) {
    const int64_t frames = frames_for(decay_s * 5.0);
    std::vector<float> out(frames);
    const double hz = note_hz(midi_note);
    for (int64_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) * dt;
        const double index = 0.2 + 1.4 * std::exp(-t / (0.25 * decay_s));
        const double modulator = index * sine_turns(3.5 * hz * t);
        const double attack = std::min(1.0, t / 0.002);
        out[n] = static_cast<float>(sine_turns(hz * t + modulator / two_pi) * attack *
                                    std::exp(-t / decay_s));
    }
    return stereo_from(std::move(out));
}

void ping_pong_delay(const Track& send, Track& out, int64_t delay_frames, double feedback) {
    std::vector<float> line_left(delay_frames, 0.0f), line_right(delay_frames, 0.0f);
    Filter damp_left, damp_right;
    filter_tune(damp_left, 4500.0, 0.0);
    filter_tune(damp_right, 4500.0, 0.0);
    const int64_t frames = std::min(frame_count(send), frame_count(out));
    for (int64_t n = 0, i = 0; n < frames; ++n, i = (i + 1) % delay_frames) {
        const double echo_left = line_left[i], echo_right = line_right[i];
        out.left[n] += static_cast<float>(echo_left);
        out.right[n] += static_cast<float>(echo_right);
        // The input enters on the left; each echo crosses to the other side,
        // darker every time, as a tape delay's repeats do.
        const double input = 0.5 * (send.left[n] + send.right[n]);
        line_left[i] =
            static_cast<float>(input + feedback * filter_core(damp_left, echo_right).low);
        line_right[i] = static_cast<float>(filter_core(damp_right, echo_left).low);
    }
}

namespace {

struct Comb {
    std::vector<float> buffer;
    size_t at = 0;
    double store = 0.0;
};

struct Allpass {
    std::vector<float> buffer;
    size_t at = 0;
};

double comb_step(Comb& comb, double input, double feedback, double damping) {
    const double output = comb.buffer[comb.at];
    comb.store = output * (1.0 - damping) + comb.store * damping;
    comb.buffer[comb.at] = static_cast<float>(input + comb.store * feedback);
    comb.at = (comb.at + 1) % comb.buffer.size();
    return output;
}

double allpass_step(Allpass& pass, double input) {
    const double delayed = pass.buffer[pass.at];
    pass.buffer[pass.at] = static_cast<float>(input + delayed * 0.5);
    pass.at = (pass.at + 1) % pass.buffer.size();
    return delayed - input;
}

// One channel of a Schroeder-Moorer reverberator: eight damped combs in
// parallel, then four allpasses in series; `spread` detunes the right channel.
struct ReverbChannel {
    Comb combs[8];
    Allpass passes[4];
};

ReverbChannel reverb_channel(int spread) {
    static constexpr int comb_lengths[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static constexpr int pass_lengths[] = {556, 441, 341, 225};
    ReverbChannel channel;
    for (int i = 0; i < 8; ++i) channel.combs[i].buffer.assign(comb_lengths[i] + spread, 0.0f);
    for (int i = 0; i < 4; ++i) channel.passes[i].buffer.assign(pass_lengths[i] + spread, 0.0f);
    return channel;
}

double reverb_step(ReverbChannel& channel, double input, double room, double damping) {
    double sum = 0.0;
    for (Comb& comb : channel.combs) sum += comb_step(comb, input, room, damping);
    for (Allpass& pass : channel.passes) sum = allpass_step(pass, sum);
    return sum;
}

}  // namespace

void reverb(const Track& send, Track& out, double room, double damping) {
    ReverbChannel left = reverb_channel(0), right = reverb_channel(23);
    const int64_t frames = std::min(frame_count(send), frame_count(out));
    for (int64_t n = 0; n < frames; ++n) {
        const double input = 0.015 * (send.left[n] + send.right[n]);
        out.left[n] += static_cast<float>(reverb_step(left, input, room, damping));
        out.right[n] += static_cast<float>(reverb_step(right, input, room, damping));
    }
}

void apply_gain(Track& track, const std::vector<float>& gain) {
    const int64_t frames = std::min<int64_t>(frame_count(track), gain.size());
    for (int64_t n = 0; n < frames; ++n) {
        track.left[n] *= gain[n];
        track.right[n] *= gain[n];
    }
}

void limit_peaks(Track& track, float ceiling, int64_t lookahead_frames, double release_s) {
    const int64_t frames = frame_count(track);
    const int64_t window = std::max<int64_t>(1, lookahead_frames);
    // A hair under the ceiling, so that rounding the product cannot pass it.
    const double target = ceiling * 0.9999;
    std::vector<double> needed(frames);
    for (int64_t n = 0; n < frames; ++n) {
        const double peak = std::max(std::fabs(track.left[n]), std::fabs(track.right[n]));
        needed[n] = peak > target ? target / peak : 1.0;
    }
    // held[m] = the smallest gain needed in [m, m + window), found with a
    // monotonic queue whose front is the minimum, then allowed to recover no
    // faster than the release.
    std::vector<double> held(frames);
    std::deque<int64_t> queue;
    for (int64_t m = frames - 1; m >= 0; --m) {
        while (!queue.empty() && needed[queue.back()] >= needed[m]) queue.pop_back();
        queue.push_back(m);
        while (queue.front() >= m + window) queue.pop_front();
        held[m] = needed[queue.front()];
    }
    const double recover = 1.0 - decay_factor(release_s);
    double previous = 1.0;
    for (int64_t m = 0; m < frames; ++m) {
        held[m] = std::min(held[m], previous + (1.0 - previous) * recover);
        previous = held[m];
    }
    // Averaging over the window ramps the gain down ahead of each peak; every
    // averaged value at n comes from a window that covers n, so the gain at n
    // never exceeds what n itself needs.
    double sum = static_cast<double>(window);
    for (int64_t n = 0; n < frames; ++n) {
        sum += held[n] - (n >= window ? held[n - window] : 1.0);
        // The min only guards against the rounding of the running sum.
        const double gain = std::min(sum / static_cast<double>(window), needed[n]);
        track.left[n] = static_cast<float>(track.left[n] * gain);
        track.right[n] = static_cast<float>(track.right[n] * gain);
    }
}

}  // namespace synth
