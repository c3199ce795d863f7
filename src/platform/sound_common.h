// What every backend of the sound layer shares, besides the operations of
// sound.h: the monotonic clock, stream arithmetic and vorbisfile's failures.
#pragma once

#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <string>

namespace sound {

// Nanoseconds of the monotonic clock.
int64_t now_ns();
int32_t frames_to_ms(int64_t frames, int rate);
// An open Ogg Vorbis file and what playback needs to know of it; each
// backend's stream adds its output state.
struct vorbis_source {
    OggVorbis_File file;
    int64_t total_frames = 0;
    int rate = 44100;
    int channels = 2;
};
// Opens a file named as the demo names it ("data\\soundtrack.ogg"); false
// when it is missing or not a Vorbis stream, and stream_open_failure then
// says why in words. A success clears the reason.
bool open_vorbis(const char* name, vorbis_source& source);
// Moves decoding to the frame `ms` milliseconds into the stream; false when
// that lies past its end (or the seek fails), where only silence follows.
bool seek_vorbis(vorbis_source& source, int32_t ms);
// A backend's own reason why a stream that opened cannot play after all.
void set_open_failure(std::string reason);

}  // namespace sound
