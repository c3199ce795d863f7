// The parts of the sound layer every output shares: the monotonic clock and
// the silent output paced by it, the listener's-position arithmetic, the
// floating-point set-up, and opening a Vorbis file with the reason it failed.
#include "platform/sound_common.h"

#include <algorithm>
#include <cerrno>
#include <cfenv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/platform.h"
#include "platform/sound.h"

namespace sound {
namespace {

fenv_t saved_environment;
// The silent clock reads start_ms plus the time since start_ns, or start_ms
// alone while held.
struct {
    int64_t start_ns = 0;
    int32_t start_ms = 0;
    bool held = false;
} silent;
std::string open_failure;  // why the last stream_open_file answered 0

void restore_float_environment() { std::fesetenv(&saved_environment); }

}  // namespace

int64_t now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int32_t frames_to_ms(int64_t frames, int rate) {
    return static_cast<int32_t>(frames * 1000 / rate);
}

namespace {

std::string vorbis_open_failure(int code) {
    switch (code) {
    case OV_ENOTVORBIS: return "it is not an Ogg Vorbis file";
    case OV_EBADHEADER: return "its Vorbis headers are damaged";
    case OV_EVERSION: return "its Vorbis version is not supported";
    case OV_EREAD: return "it cannot be read";
    default: return "it cannot be decoded (error " + std::to_string(code) + ")";
    }
}

}  // namespace

bool open_vorbis(const char* name, vorbis_source& source) {
    errno = 0;
    const int opened = ov_fopen(platform::native_path(name).c_str(), &source.file);
    if (opened != 0) {
        // vorbisfile answers -1 when the file itself does not open.
        open_failure = opened == -1 && errno != 0 ? std::strerror(errno) : vorbis_open_failure(opened);
        return false;
    }
    open_failure.clear();
    const vorbis_info* info = ov_info(&source.file, -1);
    source.rate = static_cast<int>(info->rate);
    source.channels = info->channels;
    source.total_frames = std::max<ogg_int64_t>(0, ov_pcm_total(&source.file, -1));
    return true;
}

bool seek_vorbis(vorbis_source& source, int32_t ms) {
    const int64_t frame = int64_t{ms} * source.rate / 1000;
    if (frame >= source.total_frames) return false;
    return ov_pcm_seek(&source.file, frame) == 0;
}

int64_t clock_position_frames(playback_clock& clock, int64_t now) {
    if (clock.handed == 0) return clock.last_reported;
    const int64_t since = std::max<int64_t>(0, now - clock.callback_ns);
    int64_t position = clock.handed - clock.latency + since * clock.rate / 1000000000;
    position = std::clamp<int64_t>(position, 0, clock.handed);
    clock.last_reported = std::max(clock.last_reported, position);
    return clock.last_reported;
}

void mask_float_exceptions() {
    std::feholdexcept(&saved_environment);
    std::atexit(restore_float_environment);
}

void set_open_failure(std::string reason) { open_failure = std::move(reason); }

std::string stream_open_failure() { return open_failure; }

void silent_clock_start() {
    silent.start_ns = now_ns();
    silent.start_ms = 0;
    silent.held = false;
}

int32_t silent_clock_time() {
    if (silent.held) return silent.start_ms;
    return silent.start_ms + static_cast<int32_t>((now_ns() - silent.start_ns) / 1000000);
}

void silent_clock_pause(bool paused) {
    if (paused == silent.held) return;
    silent.start_ms = silent_clock_time();
    silent.start_ns = now_ns();
    silent.held = paused;
}

void silent_clock_seek(int32_t ms) {
    silent.start_ms = ms;
    silent.start_ns = now_ns();
}

}  // namespace sound
