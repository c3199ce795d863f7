// Stereo tracks encoded as Ogg Vorbis in memory with libvorbisenc: the
// same settings and stream serial give the same bytes on every run.
#include "ogg_encoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace {

constexpr int chunk_frames = 1024;

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

}  // namespace

bool encode_ogg(const synth::Track& track, float quality, int serial, const char* title,
                std::vector<unsigned char>& out) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, synth::sample_rate, quality) != 0) {
        vorbis_info_clear(&info);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    if (title != nullptr) vorbis_comment_add_tag(&comment, "TITLE", title);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);

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
