// Starts ffmpeg with raw RGB frames on its standard input.
#include "video_pipe.h"

#ifdef _WIN32
#include <io.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <sstream>

#include "engine/qor_views.h"

namespace {

bool ends_with(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

#ifdef _WIN32
// _popen hands the command to cmd.exe; Windows file names hold no '"'.
constexpr char path_separator = ';';
const char* const ffmpeg_name = "ffmpeg.exe";

bool is_program(const std::string& file) { return _access(file.c_str(), 0) == 0; }
bool is_readable(const std::string& file) { return _access(file.c_str(), 4) == 0; }
std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// Binary, so that no byte of a frame is translated. cmd /c drops the first
// and the last quote of its line, hence one more pair around it.
FILE* start_command(const std::string& command) { return _popen(("\"" + command + "\"").c_str(), "wb"); }
// _pclose gives the command's exit code, or -1.
bool wait_command(FILE* command) { return _pclose(command) == 0; }
#else
constexpr char path_separator = ':';
const char* const ffmpeg_name = "ffmpeg";

bool is_program(const std::string& file) { return access(file.c_str(), X_OK) == 0; }
bool is_readable(const std::string& file) { return access(file.c_str(), R_OK) == 0; }

// Single-quoted for the shell that popen starts.
std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

// The encoder runs at the lowest priority, below the PNG writer's: its work
// per frame is several times the writer's, and at any higher priority it
// takes the processor from the rasterizer threads instead of filling the
// time they leave idle; the bounded queue still makes the renderer wait
// when the encoder falls behind.
FILE* start_command(const std::string& command) { return popen(("nice -n 19 " + command).c_str(), "w"); }
bool wait_command(FILE* command) {
    const int status = pclose(command);
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

}  // namespace

std::string find_ffmpeg() {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path != nullptr ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, path_separator)) {
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + ffmpeg_name;
        if (is_program(candidate)) return candidate;
    }
    return "";
}

bool open_video(video_pipe& pipe, const std::string& file, int fps, const std::string& soundtrack,
                std::string& error) {
    const std::string ffmpeg = find_ffmpeg();
    if (ffmpeg.empty()) {
        error = "ffmpeg was not found on PATH; install it (Debian package ffmpeg) to make videos";
        return false;
    }
    std::string audio_codec;
    if (ends_with(file, ".mp4")) {
        audio_codec = "aac -b:a 192k";
    } else if (ends_with(file, ".mkv")) {
        audio_codec = "libvorbis -q:a 5";
    } else {
        error = "the video file must end in .mp4 or .mkv: " + file;
        return false;
    }
    const bool with_sound = is_readable(soundtrack);
    std::ostringstream command;
    command << quoted(ffmpeg) << " -y -loglevel error -f rawvideo -pix_fmt rgb24 -s "
            << screen_width << "x" << screen_height << " -r " << fps << " -i -";
    if (with_sound) command << " -i " << quoted(soundtrack) << " -map 0:v -map 1:a";
    // ultrafast: the encoder shares the processor with the renderer, and the
    // slower presets' extra work (about 8 ms a frame for veryfast against 3
    // here) made the whole show's capture wait for it; at CRF 18 the picture
    // is as clean or cleaner, the file about twice as large.
    command << " -c:v libx264 -preset ultrafast -crf 18 -pix_fmt yuv420p";
    if (with_sound) command << " -c:a " << audio_codec << " -shortest";
    command << " " << quoted(file);
    pipe.ffmpeg = start_command(command.str());
    if (pipe.ffmpeg == nullptr) {
        error = "could not start ffmpeg";
        return false;
    }
    return true;
}

bool write_video_frame(video_pipe& pipe, const std::vector<uint8_t>& rgb_rows) {
    return std::fwrite(rgb_rows.data(), 1, rgb_rows.size(), pipe.ffmpeg) == rgb_rows.size();
}

bool close_video(video_pipe& pipe) {
    const bool succeeded = wait_command(pipe.ffmpeg);
    pipe.ffmpeg = nullptr;
    return succeeded;
}
