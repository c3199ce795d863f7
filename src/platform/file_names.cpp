// File names appear in the demo as written on Windows ("data\soundtrack.ogg");
// this maps them to the platform's separator where a file is opened.
#include <filesystem>

#include "platform/platform.h"

namespace platform {

std::string native_path(const char* demo_name) {
    std::string path = demo_name;
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    for (char& c : path) {
        if (c == '\\' || c == '/') c = separator;
    }
    return path;
}

}  // namespace platform
