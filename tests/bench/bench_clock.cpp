// Prints how the music clock behaves over 10 s of data/soundtrack.ogg: the
// largest step between consecutive reads, and the drift between the reported
// position and the samples the device has actually consumed. Runs the
// device path on whatever SDL audio driver is present (SDL_AUDIODRIVER=dummy
// works without hardware), then the silent output against the wall clock.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/sound.h"

namespace {

using wall = std::chrono::steady_clock;

void measure(const char* name, bool device) {
    sound::allow_virtual_devices(device);
    sound::set_output(device ? sound::OUTPUT_WINMM : sound::OUTPUT_NOSOUND);
    sound::init(44100, 4, 0);
    const sound::stream_handle stream = sound::stream_open_file("data\\soundtrack.ogg", sound::MPEGACCURATE, 0);
    if (stream == 0) {
        std::printf("%s.error no data/soundtrack.ogg (run from the build folder)\n", name);
        sound::close();
        return;
    }
    sound::stream_play(0, stream);
    const auto start = wall::now();
    int32_t previous = sound::stream_get_time(stream);
    int32_t largest_step = 0;
    int64_t reads = 0, backwards = 0;
    double largest_drift = 0, drift_sum = 0;
    int64_t drift_samples = 0;
    while (wall::now() - start < std::chrono::seconds(10)) {
        std::this_thread::sleep_for(std::chrono::microseconds(500));
        const int32_t now = sound::stream_get_time(stream);
        ++reads;
        if (now < previous) ++backwards;
        largest_step = std::max(largest_step, now - previous);
        previous = now;
        const int64_t consumed = sound::stream_frames_consumed();
        const double reference = consumed >= 0
            ? static_cast<double>(consumed) * 1000.0 / 44100
            : std::chrono::duration<double, std::milli>(wall::now() - start).count();
        const double drift = now - reference;
        largest_drift = std::max(largest_drift, std::abs(drift));
        drift_sum += drift;
        ++drift_samples;
    }
    const double elapsed = std::chrono::duration<double, std::milli>(wall::now() - start).count();
    std::printf("%s.reads %lld\n", name, static_cast<long long>(reads));
    std::printf("%s.largest_step_ms %d\n", name, largest_step);
    std::printf("%s.backward_steps %lld\n", name, static_cast<long long>(backwards));
    std::printf("%s.mean_drift_ms %.2f\n", name, drift_sum / static_cast<double>(drift_samples));
    std::printf("%s.largest_drift_ms %.2f\n", name, largest_drift);
    std::printf("%s.position_vs_wall_ms %.1f\n", name, previous - elapsed);
    sound::close();
}

}  // namespace

int main() {
    measure("device", true);
    measure("silent", false);
    return 0;
}
