// JPEG files decoded with libjpeg into RGB or RGBA mipmapped textures, the
// blank RGB textures that frames are copied into, and the name table that
// scenes bind their textures through.
#include "assets/qor_textures.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// After <cstdio>: jpeglib.h needs size_t and FILE declared.
#include <jpeglib.h>
#include <jerror.h>

#include "assets/load_error.h"

namespace {

// 8-bit RGB pixels, top row first, rows packed at width * 3 bytes.
struct decoded_image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// libjpeg reports through this; its own error_exit would end the process.
struct jpeg_failure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

void on_jpeg_error(j_common_ptr info) {
    auto* failure = reinterpret_cast<jpeg_failure*>(info->err);
    info->err->format_message(info, failure->text);
    std::longjmp(failure->jump, 1);
}

// Warnings that leave every pixel decoded: stray bytes between markers and
// marker contents the decoder does not need.
bool harmless_warning(int code) {
    return code == JWRN_EXTRANEOUS_DATA || code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM ||
           code == JWRN_BOGUS_ICC;
}

// Level -1 is a warning. Damaged data (a truncated file, a bad Huffman code)
// makes libjpeg fill in grey and go on, but a picture with holes is a broken
// data folder; the harmless warnings above still give the whole picture.
void on_jpeg_message(j_common_ptr info, int level) {
    if (level < 0 && !harmless_warning(info->err->msg_code)) on_jpeg_error(info);
}

void read_scanlines(jpeg_decompress_struct& info, decoded_image& image) {
    const int components = info.output_components;
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    // libjpeg's own pool holds the row: an error jumps out of this frame,
    // which must therefore own nothing that needs destroying.
    JSAMPARRAY row = info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                            info.output_width * components, 1);
    // The image grows row by row, so a header that claims a huge size with
    // no data behind it fails before the memory is taken.
    const size_t row_bytes = static_cast<size_t>(image.width) * 3;
    while (info.output_scanline < info.output_height) {
        jpeg_read_scanlines(&info, row, 1);
        image.rgb.resize(image.rgb.size() + row_bytes);
        unsigned char* out = image.rgb.data() + image.rgb.size() - row_bytes;
        for (int x = 0; x < image.width; ++x) {
            const unsigned char* pixel = row[0] + static_cast<size_t>(x) * components;
            // A greyscale image gives R = G = B = its grey level.
            for (int channel = 0; channel < 3; ++channel) {
                *out++ = pixel[components == 1 ? 0 : channel];
            }
        }
    }
}

decoded_image decode_jpeg(const char* file_name) {
    const std::vector<unsigned char> file = read_data_file(file_name);
    jpeg_failure failure;
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = on_jpeg_error;
    failure.manager.emit_message = on_jpeg_message;
    decoded_image image;
    if (setjmp(failure.jump) != 0) fatal_load_error(file_name, failure.text);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&info);
    read_scanlines(info, image);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

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

std::string size_text(const decoded_image& image) {
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
    const decoded_image image = decode_jpeg(file_name);
    const uint32_t texture = new_bound_texture(mag_filter, min_filter);
    const GLint previous = swap_unpack_alignment(1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE,
                      image.rgb.data());
    swap_unpack_alignment(previous);
    return texture;
}

uint32_t load_texture_alpha(const char* colour_file, const char* alpha_file, int mag_filter,
                            int min_filter) {
    const decoded_image colour = decode_jpeg(colour_file);
    const decoded_image alpha = decode_jpeg(alpha_file);
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
