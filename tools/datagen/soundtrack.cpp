// Writes soundtrack.ogg: the composed piece, mastered to a fixed ceiling and
// encoded with libvorbisenc under a fixed stream serial, so that every run
// writes the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "composition.h"
#include "datagen.h"
#include "ogg_encoder.h"
#include "synth.h"

namespace {

// -2.5 dBFS before encoding leaves room for the codec's overshoot on decoding.
constexpr float ceiling = 0.75f;
// The loudest moments are driven this far into the limiter. Harder limiting
// flattens the peaks, and the codec's overshoot on decoding grows with it
// (1.6 dB at 3 dB of drive, 0.6 dB at 1.5 dB).
constexpr double drive_db = 1.5;
constexpr int64_t lookahead_frames = 220;  // 5 ms
constexpr double release_s = 0.08;
constexpr float vorbis_quality = 0.45f;
constexpr int stream_serial = 0x0D150148;

void master(synth::Track& mix) {
    const double gain = ceiling * std::pow(10.0, drive_db / 20.0) / synth::peak_of(mix);
    synth::scale(mix, static_cast<float>(gain));
    synth::limit_peaks(mix, ceiling, lookahead_frames, release_s);
}

}  // namespace

bool write_soundtrack(const std::string& dir) {
    // The file is opened first, so that a folder that cannot take it fails
    // before seconds of synthesis.
    const std::string path = dir + "/soundtrack.ogg";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "datagen: cannot create %s\n", path.c_str());
        return false;
    }
    synth::Track mix = music::compose_piece();
    master(mix);
    std::vector<unsigned char> bytes;
    const bool encoded = encode_ogg(mix, vorbis_quality, stream_serial, "travel", bytes);
    if (!encoded) std::fprintf(stderr, "datagen: the Vorbis encoder refused its settings\n");
    const bool written =
        encoded && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (encoded && !(written && closed)) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
    }
    return written && closed;
}
