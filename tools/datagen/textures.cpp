// write_textures: every picture of the data folder, group by group.
#include "textures.h"

#include "datagen.h"
#include "jpeg_writer.h"

bool save_texture(const std::string& dir, const std::string& name, const Image& image) {
    return save_jpeg(dir + "/" + name + ".jpg", image);
}

bool save_texture_pair(const std::string& dir, const std::string& colour_name,
                       const std::string& alpha_name, const Canvas& canvas) {
    return save_jpeg(dir + "/" + colour_name + ".jpg", canvas.colour) &&
           save_jpeg(dir + "/" + alpha_name + ".jpg", canvas.alpha);
}

Image upscale2(const Image& image) {
    Image out = make_image(image.width * 2, image.height * 2);
    for_each_pixel(out, [&](int x, int y, float u, float v) { out.at(x, y) = sample(image, u, v); });
    return out;
}

bool write_textures(const std::string& dir) {
    return write_font_atlas(dir) && write_sky_textures(dir) && write_net_textures(dir) &&
           write_meadow_textures(dir) && write_sea_textures(dir) && write_city_textures(dir) &&
           write_logo_texture(dir) && write_space_textures(dir) && write_boy_textures(dir);
}
