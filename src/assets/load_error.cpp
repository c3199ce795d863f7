// Fatal load errors and the whole-file read that every loader starts with, so
// that a missing or unreadable file ends start-up the same way everywhere.
#include "assets/load_error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {

thread_local int traps = 0;

}  // namespace

load_error_trap::load_error_trap() { ++traps; }
load_error_trap::~load_error_trap() { --traps; }

void end_with_load_message(const std::string& text, uint32_t box_style) {
    if (traps > 0) throw load_failure{text};
    platform::message_box(text.c_str(), "Error", box_style);
    std::exit(1);
}

void fatal_load_error(const char* file_name, const char* reason) {
    end_with_load_message(std::string("Cannot load \"") + file_name + "\": " + reason,
                          platform::MB_OK | platform::MB_ICONERROR);
}

bool read_data_file(const char* file_name, std::vector<unsigned char>& content, std::string& reason) {
    std::FILE* file = std::fopen(platform::native_path(file_name).c_str(), "rb");
    if (file == nullptr) {
        reason = std::strerror(errno);
        return false;
    }
    content.clear();
    unsigned char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        content.insert(content.end(), chunk, chunk + got);
    }
    // A folder opens on some systems but fails on the first read.
    const bool failed = std::ferror(file) != 0;
    const int read_errno = errno;
    std::fclose(file);
    if (failed) reason = std::strerror(read_errno);
    return !failed;
}

std::vector<unsigned char> read_data_file(const char* file_name) {
    std::vector<unsigned char> content;
    std::string reason;
    if (!read_data_file(file_name, content, reason)) fatal_load_error(file_name, reason.c_str());
    return content;
}
