// Fuzz target: the bytes of a soundtrack opened by the sound layer and played
// for 300 ms through its own audio callback. The bytes lie in an anonymous
// memory file, opened by its /proc path as the layer opens any file; SDL's
// disk driver with no delay (writing to /dev/null) stands in for a device,
// so the callback runs as fast as it can decode.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/sound.h"

namespace {

constexpr int mix_rate = 44100;
constexpr int64_t played_frames = mix_rate * 300 / 1000;

void open_device_once() {
    static bool opened = false;
    if (opened) return;
    opened = true;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    sound::allow_virtual_devices(true);
    sound::set_output(sound::OUTPUT_WINMM);
    if (!sound::init(mix_rate, 4, 0)) {
        std::fprintf(stderr, "fuzz_vorbis: SDL's disk audio driver did not open\n");
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    open_device_once();
    const int fd = memfd_create("soundtrack.ogg", MFD_CLOEXEC);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
    const std::string name = "/proc/self/fd/" + std::to_string(fd);
    const sound::stream_handle stream = sound::stream_open_file(name.c_str(), sound::MPEGACCURATE, 0);
    if (stream != 0) {
        sound::stream_length_ms(stream);
        sound::stream_play(0, stream);
        while (sound::stream_frames_consumed() < played_frames) std::this_thread::yield();
        sound::stream_get_time(stream);
        sound::stream_close(stream);
    }
    close(fd);
    return 0;
}
