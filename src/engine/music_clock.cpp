// The soundtrack stream and the clock read once per frame. The values passed
// are those of the sound library the demo was written against.
#include "engine/music_clock.h"

#include "platform/sound.h"

sound::stream_handle music_stream;

namespace {

int32_t (*clock_source)() = nullptr;

}  // namespace

void init_sound() {
    sound::set_output(sound::OUTPUT_WINMM);
    if (!sound::init(44100, 4, 0)) sound::close();
}

void start_music() {
    // A chosen clock (capture, tests) replaces the stream and its device.
    if (clock_source != nullptr) return;
    init_sound();
    music_stream = sound::stream_open_file("data\\soundtrack.ogg", sound::MPEGACCURATE, 0);
    sound::stream_play(0, music_stream);
}

int32_t read_music_clock() {
    if (clock_source != nullptr) return clock_source();
    return sound::stream_get_time(music_stream);
}

void set_music_clock_source(int32_t (*source)()) { clock_source = source; }
