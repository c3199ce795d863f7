// The soundtrack stream and the clock read once per frame. The values passed
// are those of the sound library the demo was written against.
#include "engine/music_clock.h"

#include <string>

#include "engine/globalscenes.h"
#include "platform/platform.h"
#include "platform/sound.h"

sound::stream_handle music_stream;

namespace {

constexpr const char* soundtrack_file = "data\\soundtrack.ogg";

int32_t (*clock_source)() = nullptr;

// A show without its music still runs, on the silent clock, but says once
// which file is wrong so that it can be replaced.
void report_soundtrack(const std::string& text) {
    platform::message_box(text.c_str(), "Error", platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

void check_soundtrack() {
    if (music_stream == 0) {
        report_soundtrack(std::string("Cannot play \"") + soundtrack_file + "\": " +
                          sound::stream_open_failure() + ". The show runs without music.");
        sound::silent_clock_start();
        return;
    }
    const int32_t length = sound::stream_length_ms(music_stream);
    if (length < show_end_ms) {
        report_soundtrack(std::string("\"") + soundtrack_file + "\" ends after " +
                          std::to_string(length) + " ms, before the show's " +
                          std::to_string(show_end_ms) + " ms. The rest runs without music.");
    }
}

}  // namespace

void init_sound() {
    sound::set_output(sound::OUTPUT_WINMM);
    if (!sound::init(44100, 4, 0)) sound::close();
}

void start_music() {
    // A chosen clock (capture, tests) replaces the stream and its device.
    if (clock_source != nullptr) return;
    init_sound();
    music_stream = sound::stream_open_file(soundtrack_file, sound::MPEGACCURATE, 0);
    check_soundtrack();
    sound::stream_play(0, music_stream);
}

int32_t read_music_clock() {
    if (clock_source != nullptr) return clock_source();
    return read_music_stream();
}

int32_t read_music_stream() {
    if (music_stream == 0) return sound::silent_clock_time();
    return sound::stream_get_time(music_stream);
}

void pause_music(bool paused) {
    if (music_stream == 0) {
        sound::silent_clock_pause(paused);
    } else {
        sound::stream_set_paused(music_stream, paused);
    }
}

void seek_music(int32_t ms) {
    if (music_stream == 0) {
        sound::silent_clock_seek(ms);
    } else {
        sound::stream_set_time(music_stream, ms);
    }
}

void set_music_clock_source(int32_t (*source)()) { clock_source = source; }
