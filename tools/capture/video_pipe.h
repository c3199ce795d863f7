// Raw frames piped into ffmpeg, with the soundtrack muxed in.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct video_pipe {
    FILE* ffmpeg = nullptr;
};

// The ffmpeg program on PATH, or "" when there is none.
std::string find_ffmpeg();
// Starts ffmpeg writing `file` (.mp4: H.264 + AAC, .mkv: H.264 + Vorbis);
// without a readable soundtrack the video is silent. False with a message
// in `error`.
bool open_video(video_pipe& pipe, const std::string& file, int fps, const std::string& soundtrack,
                std::string& error);
bool write_video_frame(video_pipe& pipe, const std::vector<uint8_t>& rgb_rows);
// Waits for ffmpeg; false when it failed.
bool close_video(video_pipe& pipe);
