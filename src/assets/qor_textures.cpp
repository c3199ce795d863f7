// JPEG files decoded into RGB or RGBA mipmapped textures, the
// blank RGB textures that frames are copied into, and the name table that
// scenes bind their textures through.
#include "assets/qor_textures.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "assets/jpeg_image.h"
#include "assets/load_error.h"

namespace {

uint32_t new_bound_texture(int mag_filter, int min_filter) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag_filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);
    return texture;
}

// RGB rows are packed at width * 3 bytes, so uploads run with an unpack
// alignment of 1 (any width works); the caller's alignment is put back after.
GLint swap_unpack_alignment(GLint alignment) {
    GLint previous = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previous);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return previous;
}

std::string size_text(const jpeg_image& image) {
    return std::to_string(image.width) + "x" + std::to_string(image.height);
}

}  // namespace

void clear_texture_table(texture_table_t& table) { table.count = 0; }

void register_texture(texture_table_t& table, const char* name, uint32_t texture) {
    if (table.count >= texture_table_capacity) return;
    const size_t length = std::min<size_t>(std::strlen(name), texture_name_length);
    unsigned char* stored = table.names[table.count];
    stored[0] = static_cast<unsigned char>(length);
    std::memcpy(stored + 1, name, length);
    table.textures[table.count] = texture;
    ++table.count;
}

uint32_t find_texture(const texture_table_t& table, const char* name) {
    const size_t length = std::strlen(name);
    for (int i = 0; i < table.count; ++i) {
        const unsigned char* stored = table.names[i];
        if (stored[0] == length && std::memcmp(stored + 1, name, length) == 0) {
            return table.textures[i];
        }
    }
    return 0;
}

uint32_t load_texture(const char* file_name, int mag_filter, int min_filter) {
    const jpeg_image image = decode_jpeg_file(file_name);
    const uint32_t texture = new_bound_texture(mag_filter, min_filter);
    const GLint previous = swap_unpack_alignment(1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE,
                      image.rgb.data());
    swap_unpack_alignment(previous);
    return texture;
}

uint32_t load_texture_alpha(const char* colour_file, const char* alpha_file, int mag_filter,
                            int min_filter) {
    const jpeg_image colour = decode_jpeg_file(colour_file);
    const jpeg_image alpha = decode_jpeg_file(alpha_file);
    if (alpha.width != colour.width || alpha.height != colour.height) {
        const std::string reason = "the alpha image is " + size_text(alpha) +
                                   " but its colour image \"" + colour_file + "\" is " +
                                   size_text(colour) + "; the two must have the same size";
        fatal_load_error(alpha_file, reason.c_str());
    }
    const size_t pixels = static_cast<size_t>(colour.width) * colour.height;
    std::vector<unsigned char> rgba(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        std::copy_n(colour.rgb.begin() + i * 3, 3, rgba.begin() + i * 4);
        // Blue carries the alpha: for a greyscale image that is its grey level.
        rgba[i * 4 + 3] = alpha.rgb[i * 3 + 2];
    }
    const uint32_t texture = new_bound_texture(mag_filter, min_filter);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, alpha.width, alpha.height, GL_RGBA,
                      GL_UNSIGNED_BYTE, rgba.data());
    return texture;
}

uint32_t create_blank_texture(int32_t width, int32_t height) {
    const std::vector<unsigned char> black(static_cast<size_t>(width) * height * 3);
    const uint32_t texture = new_bound_texture(GL_LINEAR, GL_LINEAR);
    const GLint previous = swap_unpack_alignment(1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, black.data());
    swap_unpack_alignment(previous);
    return texture;
}
