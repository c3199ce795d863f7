// JPEG images into OpenGL textures, and the table of textures by short name.
#pragma once

#include <cstdint>

#include "assets/texture_decoding.h"

constexpr int texture_table_capacity = 1000;
constexpr int texture_name_length = 32;

struct texture_table_t {
    int32_t count;
    uint32_t textures[texture_table_capacity];
    // Length byte followed by up to 32 characters.
    unsigned char names[texture_table_capacity][texture_name_length + 1];
};

void clear_texture_table(texture_table_t& table);
// Stores the first 32 characters of the name; a full table stores nothing.
void register_texture(texture_table_t& table, const char* name, uint32_t texture);
// The first entry whose name matches exactly, or 0.
uint32_t find_texture(const texture_table_t& table, const char* name);

// Each leaves the new texture bound. A missing or undecodable file, or a
// colour + alpha pair of different sizes, is a fatal load error.
uint32_t load_texture(const char* file_name, int mag_filter, int min_filter);
uint32_t load_texture_alpha(const char* colour_file, const char* alpha_file,
                            int mag_filter, int min_filter);
uint32_t create_blank_texture(int32_t width, int32_t height);
// A decoded texture uploaded with all its levels and left bound; a failed
// decode stops the decoding workers and is the fatal load error.
uint32_t upload_decoded_texture(const decoded_texture& decoded, int mag_filter, int min_filter);
