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
// Opens a file named as the demo names it ("data\\soundtrack.ogg"); false,
// with the reason in words, when it is missing or not a Vorbis stream.
bool open_vorbis(const char* name, vorbis_source& source, std::string& failure);

}  // namespace sound
