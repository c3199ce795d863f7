// Writes soundtrack.ogg: the composed piece, mastered to a fixed ceiling and
// encoded with libvorbisenc under a fixed stream serial, so that every run
// writes the same bytes.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "composition.h"
#include "datagen.h"
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
constexpr int chunk_frames = 1024;

void master(synth::Track& mix) {
    const double gain = ceiling * std::pow(10.0, drive_db / 20.0) / synth::peak_of(mix);
    synth::scale(mix, static_cast<float>(gain));
    synth::limit_peaks(mix, ceiling, lookahead_frames, release_s);
}

void append_page(const ogg_page& page, std::vector<unsigned char>& out) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// Moves every finished block through the encoder into Ogg pages.
void drain(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream,
           std::vector<unsigned char>& out) {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page) != 0) append_page(page, out);
        }
    }
}

bool encode(const synth::Track& track, std::vector<unsigned char>& out) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, synth::sample_rate, vorbis_quality) != 0) {
        vorbis_info_clear(&info);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "travel");
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, stream_serial);

    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &header_comment);
    ogg_stream_packetin(&stream, &header_code);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) append_page(page, out);

    const int64_t frames = synth::frame_count(track);
    for (int64_t at = 0; at < frames; at += chunk_frames) {
        const int count = static_cast<int>(std::min<int64_t>(chunk_frames, frames - at));
        float** buffer = vorbis_analysis_buffer(&dsp, count);
        for (int n = 0; n < count; ++n) {
            buffer[0][n] = track.left[at + n];
            buffer[1][n] = track.right[at + n];
        }
        vorbis_analysis_wrote(&dsp, count);
        drain(dsp, block, stream, out);
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain(dsp, block, stream, out);
    while (ogg_stream_flush(&stream, &page) != 0) append_page(page, out);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return true;
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
    const bool encoded = encode(mix, bytes);
    if (!encoded) std::fprintf(stderr, "datagen: the Vorbis encoder refused its settings\n");
    const bool written =
        encoded && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (encoded && !(written && closed)) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
    }
    return written && closed;
}
