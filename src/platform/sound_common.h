// What every backend of the sound layer shares, besides the operations of
// sound.h: the monotonic clock, stream arithmetic and vorbisfile's failures.
#pragma once

#include <cstdint>
#include <string>

namespace sound {

// Nanoseconds of the monotonic clock.
int64_t now_ns();
int32_t frames_to_ms(int64_t frames, int rate);
// The reason in words for a failed ov_fopen / ov_open result code.
std::string vorbis_open_failure(int code);

}  // namespace sound
