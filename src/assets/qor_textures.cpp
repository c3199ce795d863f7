// Decoded JPEG pictures uploaded as RGB or RGBA mipmapped textures, the
// blank RGB textures that frames are copied into, and the name table that
// scenes bind their textures through.
#include "assets/qor_textures.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

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

uint32_t upload_decoded_texture(const decoded_texture& decoded, int mag_filter, int min_filter) {
    if (!decoded.failed_file.empty()) {
        end_texture_decoding();
        fatal_load_error(decoded.failed_file.c_str(), decoded.reason.c_str());
    }
    const bool rgba = decoded.components == 4;
    const GLint internal_format = rgba ? GL_RGBA : 3;
    const GLenum format = rgba ? GL_RGBA : GL_RGB;
    const uint32_t texture = new_bound_texture(mag_filter, min_filter);
    const GLint previous = swap_unpack_alignment(1);
    const mip_level& base = decoded.levels.front();
    if (decoded.levels.size() == 1 && (base.width > 1 || base.height > 1)) {
        // A side that is not a power of two: the GLU rescales the picture.
        gluBuild2DMipmaps(GL_TEXTURE_2D, internal_format, base.width, base.height, format,
                          GL_UNSIGNED_BYTE, base.pixels.data());
    } else {
        for (size_t level = 0; level < decoded.levels.size(); ++level) {
            const mip_level& image = decoded.levels[level];
            glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), internal_format, image.width,
                         image.height, 0, format, GL_UNSIGNED_BYTE, image.pixels.data());
        }
    }
    swap_unpack_alignment(previous);
    return texture;
}

uint32_t load_texture(const char* file_name, int mag_filter, int min_filter) {
    return upload_decoded_texture(decode_texture({file_name, ""}), mag_filter, min_filter);
}

uint32_t load_texture_alpha(const char* colour_file, const char* alpha_file, int mag_filter,
                            int min_filter) {
    return upload_decoded_texture(decode_texture({colour_file, alpha_file}), mag_filter, min_filter);
}

uint32_t create_blank_texture(int32_t width, int32_t height) {
    const std::vector<unsigned char> black(static_cast<size_t>(width) * height * 3);
    const uint32_t texture = new_bound_texture(GL_LINEAR, GL_LINEAR);
    const GLint previous = swap_unpack_alignment(1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, black.data());
    swap_unpack_alignment(previous);
    return texture;
}
