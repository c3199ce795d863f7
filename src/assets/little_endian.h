// Little-endian 32-bit fields of the .geox and .camera files, read and written
// byte by byte so the files mean the same on every processor.
#pragma once

#include <bit>
#include <cstdint>

inline uint32_t load_le32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

inline int32_t load_le_int32(const unsigned char* bytes) {
    return std::bit_cast<int32_t>(load_le32(bytes));
}

inline float load_le_float(const unsigned char* bytes) {
    return std::bit_cast<float>(load_le32(bytes));
}

inline void store_le_float(unsigned char* bytes, float value) {
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
}
