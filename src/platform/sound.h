// The sound layer: the six streaming operations the music clock calls, with
// the arguments and results of the sound library the demo was written for.
// Backed by vorbisfile decoding into an SDL2 audio device; without a device
// the stream plays on a silent output paced by the monotonic clock.
#pragma once

#include <cstdint>
#include <string>

namespace sound {

using stream_handle = intptr_t;  // 0 means "no stream"

enum : int { OUTPUT_NOSOUND = 0, OUTPUT_WINMM = 1 };
enum : unsigned { MPEGACCURATE = 0x20000 };

// The output the next init opens: the sound device (OUTPUT_WINMM, the
// start-up choice) or none at all (OUTPUT_NOSOUND, the silent output).
void set_output(int output);
// Opens the chosen output; false when a device was wanted and none opened.
bool init(int mix_rate, int max_software_channels, unsigned flags);
// Releases the device. Streams opened and played after it, or after a
// failed init, play on the silent output paced by the monotonic clock.
void close();
stream_handle stream_open_file(const char* name, unsigned mode, int length);
// Why the last stream_open_file answered 0, in words.
std::string stream_open_failure();
// The decodable length of an open stream; 0 for a missing one.
int32_t stream_length_ms(stream_handle stream);
void stream_play(int channel, stream_handle stream);
// Playback position in milliseconds as the listener hears it: starts at 0,
// grows smoothly and never decreases between seeks, and goes on growing in
// silence past the end of the stream; 0 for a missing stream.
int32_t stream_get_time(stream_handle stream);
// Holds the playing stream still (silence, the position stands) or lets it
// go on from where it stood.
void stream_set_paused(stream_handle stream, bool paused);
// Moves the playing stream to ms: the position reads ms at once and grows
// from there once the sound from there reaches the listener (within one
// device buffer). A paused stream stays paused at ms.
void stream_set_time(stream_handle stream, int32_t ms);
// Stops the stream if it plays and frees it; the handle is void after.
void stream_close(stream_handle stream);

// The silent output's clock on its own, for a show whose soundtrack could
// not be opened: milliseconds since silent_clock_start, paced by the
// monotonic clock like a stream played without a device.
void silent_clock_start();
int32_t silent_clock_time();
// The silent clock held still at its position, or running on from it.
void silent_clock_pause(bool paused);
// The silent clock set to ms, running or held as it was.
void silent_clock_seek(int32_t ms);

// Lets init use a stand-in driver (SDL's dummy) as if it were a device, so
// the callback-driven clock can be measured without sound hardware.
void allow_virtual_devices(bool allow);
// Frames handed to the device so far, or -1 on the silent output.
int64_t stream_frames_consumed();

// Masks every floating-point exception for the run (faults give IEEE
// infinities and NaNs) and restores the saved environment at exit.
void mask_float_exceptions();

// The position a listener hears, given what the device has consumed: pure
// arithmetic, shared by the real output and the benchmarks.
struct playback_clock {
    int rate = 44100;
    int64_t handed = 0;           // frames handed to the device so far
    int64_t latency = 0;          // frames buffered in the device
    int64_t callback_ns = 0;      // monotonic time of the last hand-over
    int64_t last_reported = 0;    // frames; the position never goes back
};
int64_t clock_position_frames(playback_clock& clock, int64_t now_ns);

}  // namespace sound
