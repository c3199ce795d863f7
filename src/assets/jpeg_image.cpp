// JPEG files decoded with libjpeg into 8-bit RGB pixels: the one decoder of
// the demo's textures, the tools and the tests. Damaged data is a fatal load
// error naming the file, or a reason handed back to the caller.
#include "assets/jpeg_image.h"

#include <csetjmp>
#include <cstdio>

// After <cstdio>: jpeglib.h needs size_t and FILE declared.
#include <jpeglib.h>
#include <jerror.h>

#include "assets/load_error.h"

namespace {

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

// More than any texture is built from. A header may claim a picture of
// gigabytes that libjpeg decodes from next to no data (missing coefficients
// are zero), taking minutes: such a file is refused before decoding.
constexpr JDIMENSION largest_side = 8192;

void read_scanlines(jpeg_decompress_struct& info, jpeg_image& image) {
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

}  // namespace

bool decode_jpeg(const unsigned char* bytes, size_t size, jpeg_image& image, std::string& reason) {
    jpeg_failure failure;
    // Zeroed, so that destroying it after an early failure frees nothing.
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = on_jpeg_error;
    failure.manager.emit_message = on_jpeg_message;
    image = jpeg_image{};
    if (setjmp(failure.jump) != 0) {
        jpeg_destroy_decompress(&info);
        reason = failure.text;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.image_width > largest_side || info.image_height > largest_side) {
        reason = "the picture is " + std::to_string(info.image_width) + "x" +
                 std::to_string(info.image_height) + ", more than " +
                 std::to_string(largest_side) + " pixels on a side";
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&info);
    read_scanlines(info, image);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

jpeg_image decode_jpeg_file(const char* file_name) {
    const std::vector<unsigned char> file = read_data_file(file_name);
    jpeg_image image;
    std::string reason;
    if (!decode_jpeg(file.data(), file.size(), image, reason)) fatal_load_error(file_name, reason.c_str());
    return image;
}
