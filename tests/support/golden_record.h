// The text file that records golden frames: the GL renderer and version
// they were drawn on and one checksum per music time.
#pragma once

#include <cstdint>
#include <map>
#include <string>

struct golden_record {
    std::string renderer;  // GL_RENDERER
    std::string version;   // GL_VERSION
    std::map<int32_t, uint64_t> checksums;  // music time (ms) -> FNV-1a 64 of the RGB frame
};

// Lines "renderer TEXT", "version TEXT" and "frame TIME HEX"; lines starting
// with '#' are comments. False when the file cannot be read or a line is
// malformed.
bool read_golden_record(const std::string& path, golden_record& record);
// Writes `header` as comment lines first.
bool write_golden_record(const std::string& path, const golden_record& record,
                         const std::string& header);
