// The sound layer over vorbisfile and an SDL2 audio device. The audio
// callback decodes the stream on SDL's audio thread; the position the demo
// reads is interpolated from the last hand-over with the monotonic clock,
// less the device's buffered latency, and never goes backwards. Without a
// real device the stream plays on a silent output paced by the monotonic
// clock, so the show still runs in time.
#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <cstring>

#include "platform/platform.h"
#include "platform/sound.h"
#include "platform/sound_common.h"

namespace sound {
namespace {

constexpr int device_frames = 1024;
constexpr int output_channels = 2;

struct stream_t : vorbis_source {
    SDL_AudioStream* converter = nullptr;
    bool ended = false;
};

struct {
    int output = OUTPUT_WINMM;
    bool initialised = false;
    bool allow_virtual_devices = false;
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec obtained{};
    stream_t* stream = nullptr;
    bool playing = false;
    bool paused = false;
    int32_t paused_ms = 0;  // the position a paused stream stands at
    playback_clock clock;
} state;

// Decodes into the converter until it holds `bytes` or the stream ends.
void fill_converter(stream_t& s, int bytes) {
    char pcm[4096];
    while (!s.ended && SDL_AudioStreamAvailable(s.converter) < bytes) {
        int section = 0;
        const long got = ov_read(&s.file, pcm, sizeof pcm, 0, 2, 1, &section);
        if (got > 0) {
            SDL_AudioStreamPut(s.converter, pcm, static_cast<int>(got));
        } else if (got == 0 || got == OV_EINVAL || got == OV_EBADLINK) {
            s.ended = true;
            SDL_AudioStreamFlush(s.converter);
        }
        // OV_HOLE: a damaged page is skipped and decoding goes on.
    }
}

void audio_callback(void*, Uint8* out, int bytes) {
    std::memset(out, 0, static_cast<size_t>(bytes));
    stream_t* s = state.stream;
    if (s == nullptr || !state.playing || state.paused) return;
    fill_converter(*s, bytes);
    SDL_AudioStreamGet(s->converter, out, bytes);
    // Past the end of the stream the device plays silence and the listener's
    // time goes on, so a short soundtrack cannot stop the show.
    const int frame_bytes = output_channels * 2;
    state.clock.handed += bytes / frame_bytes;
    state.clock.callback_ns = now_ns();
}

bool is_virtual_driver() {
    const char* driver = SDL_GetCurrentAudioDriver();
    return driver != nullptr && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0);
}

bool is_played(stream_handle stream) {
    return stream != 0 && state.playing && reinterpret_cast<stream_t*>(stream) == state.stream;
}

// Decoding goes on from ms and the clock counts from there: it reads ms
// until the device asks for the first sound from there, then grows with it.
// Under the device lock.
void restart_at(stream_t& s, int32_t ms) {
    s.ended = !seek_vorbis(s, ms);
    SDL_AudioStreamClear(s.converter);
    const int64_t frames = int64_t{ms} * state.clock.rate / 1000;
    state.clock.handed = frames;
    state.clock.callback_ns = now_ns();
    state.clock.last_reported = frames;
}

}  // namespace

void allow_virtual_devices(bool allow) { state.allow_virtual_devices = allow; }

void set_output(int output) { state.output = output; }

bool init(int mix_rate, int, unsigned) {
    if (state.initialised) return true;
    state.initialised = true;
    if (state.output == OUTPUT_NOSOUND) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = mix_rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = output_channels;
    wanted.samples = device_frames;
    wanted.callback = audio_callback;
    state.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &state.obtained, 0);
    if (state.device != 0 && is_virtual_driver() && !state.allow_virtual_devices) {
        // A stand-in driver paces itself loosely; the monotonic clock is exact.
        SDL_CloseAudioDevice(state.device);
        state.device = 0;
    }
    if (state.device == 0) return false;
    state.clock.rate = state.obtained.freq;
    state.clock.latency = state.obtained.samples;
    return true;
}

void close() {
    if (state.device != 0) SDL_CloseAudioDevice(state.device);
    state.device = 0;
    if (state.initialised && state.output != OUTPUT_NOSOUND) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    state.initialised = false;
}

stream_handle stream_open_file(const char* name, unsigned, int) {
    auto* s = new stream_t;
    if (!open_vorbis(name, *s)) {
        delete s;
        return 0;
    }
    const int device_rate = state.device != 0 ? state.obtained.freq : s->rate;
    s->converter = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(s->channels), s->rate,
                                      AUDIO_S16SYS, output_channels, device_rate);
    if (s->converter == nullptr) {
        set_open_failure(SDL_GetError());
        ov_clear(&s->file);
        delete s;
        return 0;
    }
    return reinterpret_cast<stream_handle>(s);
}

int32_t stream_length_ms(stream_handle stream) {
    if (stream == 0) return 0;
    const stream_t* s = reinterpret_cast<const stream_t*>(stream);
    return frames_to_ms(s->total_frames, s->rate);
}

void stream_play(int, stream_handle stream) {
    if (stream == 0) return;
    if (state.device != 0) SDL_LockAudioDevice(state.device);
    state.stream = reinterpret_cast<stream_t*>(stream);
    state.playing = true;
    silent_clock_start();
    state.clock = playback_clock{state.clock.rate, 0, state.clock.latency, 0, 0};
    if (state.device != 0) {
        SDL_UnlockAudioDevice(state.device);
        SDL_PauseAudioDevice(state.device, 0);
    }
}

int32_t stream_get_time(stream_handle stream) {
    if (!is_played(stream)) return 0;
    if (state.device == 0) return silent_clock_time();
    if (state.paused) return state.paused_ms;
    SDL_LockAudioDevice(state.device);
    const int64_t frames = clock_position_frames(state.clock, now_ns());
    SDL_UnlockAudioDevice(state.device);
    return frames_to_ms(frames, state.clock.rate);
}

void stream_set_paused(stream_handle stream, bool paused) {
    if (!is_played(stream) || paused == state.paused) return;
    silent_clock_pause(paused);
    if (state.device == 0) {
        state.paused = paused;
        return;
    }
    if (paused) state.paused_ms = stream_get_time(stream);
    SDL_LockAudioDevice(state.device);
    // Resuming decodes again from the position heard, not from where the
    // decoder had run ahead to.
    if (!paused) restart_at(*state.stream, state.paused_ms);
    state.paused = paused;
    SDL_UnlockAudioDevice(state.device);
}

void stream_set_time(stream_handle stream, int32_t ms) {
    if (!is_played(stream)) return;
    silent_clock_seek(ms);
    state.paused_ms = ms;
    if (state.device == 0) return;
    SDL_LockAudioDevice(state.device);
    restart_at(*state.stream, ms);
    SDL_UnlockAudioDevice(state.device);
}

void stream_close(stream_handle stream) {
    if (stream == 0) return;
    auto* s = reinterpret_cast<stream_t*>(stream);
    if (state.device != 0) SDL_LockAudioDevice(state.device);
    if (state.stream == s) {
        state.stream = nullptr;
        state.playing = false;
        state.paused = false;
    }
    if (state.device != 0) SDL_UnlockAudioDevice(state.device);
    SDL_FreeAudioStream(s->converter);
    ov_clear(&s->file);
    delete s;
}

int64_t stream_frames_consumed() {
    if (state.device == 0) return -1;
    SDL_LockAudioDevice(state.device);
    const int64_t handed = state.clock.handed;
    SDL_UnlockAudioDevice(state.device);
    return handed;
}

}  // namespace sound
