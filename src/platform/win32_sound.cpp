// The sound layer over vorbisfile and a winmm waveOut device. A ring of
// buffers circulates through the device; a feeder thread, woken by the
// device's event whenever one comes back, decodes the next stretch of the
// stream into it and queues it again, so decoding never runs on the render
// thread (nor in a waveOut callback, where waveOut calls deadlock). The
// position the demo reads is interpolated from the last hand-over with the
// monotonic clock, less what is still queued, and never goes backwards.
// Without a device the stream plays on a silent output paced by the
// monotonic clock.
//
// platform.h and sound.h come before <windows.h>, whose macros would
// otherwise replace the Win32 names platform.h declares.
#include "platform/platform.h"
#include "platform/sound.h"
#include "platform/sound_common.h"

#define WIN32_LEAN_AND_MEAN 1
#define NOMINMAX 1
#include <windows.h>
#include <mmsystem.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>

namespace sound {
namespace {

// Short buffers keep the hand-overs, and so the clock's anchors, frequent;
// eight of them (186 ms at 44.1 kHz) ride out a late wake-up of the feeder
// without the device running dry.
constexpr int buffer_count = 8;
constexpr int buffer_frames = 1024;
constexpr int output_channels = 2;

struct stream_t : vorbis_source {
    bool ended = false;
};

struct device_buffer {
    WAVEHDR header{};
    int16_t samples[buffer_frames * output_channels]{};
};

struct {
    int output = OUTPUT_WINMM;
    bool initialised = false;
    // Windows has no stand-in audio drivers; the choice is kept so that the
    // call means the same on every platform.
    bool allow_virtual_devices = false;
    // The device side, changed only on the render thread while no feeder runs.
    HWAVEOUT device = nullptr;
    int rate = 44100;
    HANDLE buffer_returned = nullptr;
    HANDLE feeder = nullptr;
    device_buffer buffers[buffer_count];
    // Held by the feeder while it decodes and queues, and by a seek or pause
    // on the render thread, so that the decoder is used by one at a time.
    SRWLOCK decode_lock = SRWLOCK_INIT;
    // Shared with the feeder thread, under the lock.
    SRWLOCK lock = SRWLOCK_INIT;
    stream_t* stream = nullptr;  // the stream played, whose time the demo reads
    stream_t* feeding = nullptr;  // what the open device decodes, from stream_play on
    bool stopping = false;
    bool device_failed = false;
    bool paused = false;
    int32_t paused_ms = 0;  // the position a paused stream stands at
    playback_clock clock;
} state;

struct locked {
    explicit locked(SRWLOCK& held = state.lock) : lock(held) { AcquireSRWLockExclusive(&lock); }
    ~locked() { ReleaseSRWLockExclusive(&lock); }
    locked(const locked&) = delete;
    locked& operator=(const locked&) = delete;
    SRWLOCK& lock;
};

int16_t to_sample(float value) {
    return static_cast<int16_t>(std::lrint(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}

// Fills a buffer with the next stereo frames of the stream; what the stream
// no longer has stays silent. Streams of more channels give their front pair
// (Vorbis orders them L R, L C R, FL FR RL RR, then FL C FR ...).
void decode_into(stream_t& s, int16_t* out) {
    const int right = s.channels == 1 ? 0 : (s.channels == 2 || s.channels == 4) ? 1 : 2;
    int done = 0;
    while (!s.ended && done < buffer_frames) {
        float** pcm = nullptr;
        int section = 0;
        const long got = ov_read_float(&s.file, &pcm, buffer_frames - done, &section);
        if (got > 0) {
            for (long i = 0; i < got; ++i, ++done) {
                out[done * output_channels] = to_sample(pcm[0][i]);
                out[done * output_channels + 1] = to_sample(pcm[right][i]);
            }
        } else if (got == 0 || got == OV_EINVAL || got == OV_EBADLINK) {
            s.ended = true;
        }
        // OV_HOLE: a damaged page is skipped and decoding goes on.
    }
    std::fill(out + done * output_channels, out + buffer_frames * output_channels, int16_t{0});
}

int queued_buffers() {
    return static_cast<int>(std::count_if(
        std::begin(state.buffers), std::end(state.buffers),
        [](const device_buffer& b) { return (b.header.dwFlags & WHDR_INQUEUE) != 0; }));
}

// Queues every buffer the device has given back with the next stretch of the
// stream. Past the end of the stream the buffers carry silence and the
// listener's time goes on, so a short soundtrack cannot stop the show.
void refill() {
    const locked decoding(state.decode_lock);
    stream_t* s = nullptr;
    {
        const locked hold;
        if (state.feeding == nullptr || state.device_failed) return;
        s = state.feeding;
    }
    for (device_buffer& b : state.buffers) {
        if ((b.header.dwFlags & WHDR_INQUEUE) != 0) continue;
        decode_into(*s, b.samples);
        const MMRESULT written = waveOutWrite(state.device, &b.header, sizeof b.header);
        const locked hold;
        if (written != MMSYSERR_NOERROR) {
            state.device_failed = true;
            return;
        }
        state.clock.handed += buffer_frames;
        state.clock.latency = int64_t{queued_buffers()} * buffer_frames;
        state.clock.callback_ns = now_ns();
    }
}

DWORD WINAPI feed(void*) {
    for (;;) {
        WaitForSingleObject(state.buffer_returned, INFINITE);
        {
            const locked hold;
            if (state.stopping) return 0;
        }
        refill();
    }
}

void close_device() {
    if (state.feeder != nullptr) {
        {
            const locked hold;
            state.stopping = true;
        }
        SetEvent(state.buffer_returned);
        WaitForSingleObject(state.feeder, INFINITE);
        CloseHandle(state.feeder);
        state.feeder = nullptr;
    }
    waveOutReset(state.device);
    for (device_buffer& b : state.buffers) {
        waveOutUnprepareHeader(state.device, &b.header, sizeof b.header);
    }
    waveOutClose(state.device);
    state.device = nullptr;
    CloseHandle(state.buffer_returned);
    state.buffer_returned = nullptr;
}

// Opens the default device for 16-bit stereo at `rate`, its buffers and the
// feeder thread; false, with nothing left open, when any of them fails.
bool open_device(int rate) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = output_channels;
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = output_channels * 2;
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    state.buffer_returned = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (state.buffer_returned == nullptr) return false;
    if (waveOutOpen(&state.device, WAVE_MAPPER, &format,
                    reinterpret_cast<DWORD_PTR>(state.buffer_returned), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR) {
        state.device = nullptr;
        CloseHandle(state.buffer_returned);
        state.buffer_returned = nullptr;
        return false;
    }
    bool prepared = true;
    for (device_buffer& b : state.buffers) {
        b.header = WAVEHDR{};
        b.header.lpData = reinterpret_cast<LPSTR>(b.samples);
        b.header.dwBufferLength = sizeof b.samples;
        const MMRESULT result = waveOutPrepareHeader(state.device, &b.header, sizeof b.header);
        prepared = prepared && result == MMSYSERR_NOERROR;
    }
    // A new device starts silent, as the stream_play that feeds it has yet to come.
    state.feeding = nullptr;
    state.stopping = false;
    state.device_failed = false;
    if (prepared) state.feeder = CreateThread(nullptr, 0, feed, nullptr, 0, nullptr);
    if (state.feeder == nullptr) {
        close_device();
        return false;
    }
    state.rate = rate;
    return true;
}

bool is_played(stream_handle stream) {
    const locked hold;
    return stream != 0 && reinterpret_cast<stream_t*>(stream) == state.stream;
}

// Takes every queued buffer back from the device and, unless held, decodes
// again from ms; the clock reads ms until the new sound is queued, then
// grows with it. Waits for a refill under way to finish first.
void restart_at(stream_t& s, int32_t ms, bool held) {
    const locked decoding(state.decode_lock);
    waveOutReset(state.device);
    s.ended = !seek_vorbis(s, ms);
    const locked hold;
    state.feeding = held ? nullptr : &s;
    const int64_t frames = int64_t{ms} * state.rate / 1000;
    state.clock = playback_clock{state.rate, frames, 0, now_ns(), frames};
}

}  // namespace

void allow_virtual_devices(bool allow) { state.allow_virtual_devices = allow; }

void set_output(int output) { state.output = output; }

bool init(int mix_rate, int, unsigned) {
    if (state.initialised) return true;
    state.initialised = true;
    if (state.output == OUTPUT_NOSOUND) return true;
    return open_device(mix_rate);
}

void close() {
    if (state.device != nullptr) close_device();
    state.initialised = false;
}

stream_handle stream_open_file(const char* name, unsigned, int) {
    auto* s = new stream_t;
    if (!open_vorbis(name, *s)) {
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
    stream_t* s = reinterpret_cast<stream_t*>(stream);
    // waveOut plays at the rate it was opened with: the device follows the
    // stream, and if it cannot, the stream plays on the silent output.
    if (state.device != nullptr && state.rate != s->rate) {
        close_device();
        open_device(s->rate);
    }
    silent_clock_start();
    {
        const locked hold;
        state.stream = s;
        state.feeding = s;
        state.clock = playback_clock{state.rate, 0, 0, 0, 0};
    }
    if (state.device != nullptr) SetEvent(state.buffer_returned);
}

int32_t stream_get_time(stream_handle stream) {
    const locked hold;
    if (stream == 0 || reinterpret_cast<stream_t*>(stream) != state.stream) return 0;
    if (state.device == nullptr) return silent_clock_time();
    if (state.paused) return state.paused_ms;
    const int32_t heard = frames_to_ms(clock_position_frames(state.clock, now_ns()), state.clock.rate);
    // A device lost mid-show leaves the silent output to carry the time on.
    return state.device_failed ? std::max(heard, silent_clock_time()) : heard;
}

void stream_set_paused(stream_handle stream, bool paused) {
    if (!is_played(stream) || paused == state.paused) return;
    silent_clock_pause(paused);
    if (state.device != nullptr) {
        if (paused) state.paused_ms = stream_get_time(stream);
        restart_at(*state.stream, state.paused_ms, paused);
        SetEvent(state.buffer_returned);
    }
    const locked hold;
    state.paused = paused;
}

void stream_set_time(stream_handle stream, int32_t ms) {
    if (!is_played(stream)) return;
    silent_clock_seek(ms);
    state.paused_ms = ms;
    if (state.device == nullptr) return;
    restart_at(*state.stream, ms, state.paused);
    SetEvent(state.buffer_returned);
}

void stream_close(stream_handle stream) {
    if (stream == 0) return;
    stream_t* s = reinterpret_cast<stream_t*>(stream);
    bool fed = false;
    {
        const locked hold;
        fed = state.feeding == s;
    }
    // The feeder decodes outside the lock: only a stopped feeder has surely
    // let go of the stream. The device opens again, silent, for the next one.
    if (fed && state.device != nullptr) {
        close_device();
        open_device(state.rate);
    }
    {
        const locked hold;
        if (state.feeding == s) state.feeding = nullptr;
        if (state.stream == s) {
            state.stream = nullptr;
            state.paused = false;
        }
    }
    ov_clear(&s->file);
    delete s;
}

int64_t stream_frames_consumed() {
    if (state.device == nullptr) return -1;
    const locked hold;
    return state.clock.handed;
}

}  // namespace sound
