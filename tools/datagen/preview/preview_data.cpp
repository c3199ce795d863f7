// Readers of the data folder for the preview renderer.
#include "preview_data.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "png_file.h"

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "datagen_preview: %s\n", what.c_str());
    std::exit(1);
}

struct Pixels {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

Pixels decode(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) fail("cannot open " + path);
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    Pixels p;
    p.width = static_cast<int>(info.output_width);
    p.height = static_cast<int>(info.output_height);
    p.rgb.resize(static_cast<size_t>(p.width) * p.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = p.rgb.data() + static_cast<size_t>(info.output_scanline) * p.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return p;
}

std::vector<unsigned char> read_file(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) fail("cannot open " + path);
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(file);
    return bytes;
}

template <class T>
T read_at(const std::vector<unsigned char>& bytes, size_t offset) {
    T value;
    if (offset + sizeof(T) > bytes.size()) fail("short file");
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

float hermite(float a, float b, float c, float s) {
    const double s2 = static_cast<double>(s) * s, s3 = s2 * s;
    return static_cast<float>((2 * s3 - 3 * s2 + 1) * a + (s3 - 2 * s2 + s) * (static_cast<double>(b) - a) +
                              (-2 * s3 + 3 * s2) * b + (s3 - s2) * (static_cast<double>(c) - b));
}

}  // namespace

Texture load_texture(const std::string& dir, const std::string& name) {
    const Pixels p = decode(dir + "/" + name + ".jpg");
    std::vector<Rgba> texels(static_cast<size_t>(p.width) * p.height);
    for (size_t i = 0; i < texels.size(); ++i)
        texels[i] = {p.rgb[i * 3] / 255.0f, p.rgb[i * 3 + 1] / 255.0f, p.rgb[i * 3 + 2] / 255.0f, 1.0f};
    return make_texture(p.width, p.height, std::move(texels));
}

Texture load_texture_alpha(const std::string& dir, const std::string& colour, const std::string& alpha) {
    const Pixels c = decode(dir + "/" + colour + ".jpg"), a = decode(dir + "/" + alpha + ".jpg");
    if (c.width != a.width || c.height != a.height) fail(colour + " and " + alpha + " differ in size");
    std::vector<Rgba> texels(static_cast<size_t>(c.width) * c.height);
    for (size_t i = 0; i < texels.size(); ++i)
        texels[i] = {c.rgb[i * 3] / 255.0f, c.rgb[i * 3 + 1] / 255.0f, c.rgb[i * 3 + 2] / 255.0f, a.rgb[i * 3 + 2] / 255.0f};
    return make_texture(c.width, c.height, std::move(texels));
}

std::vector<Corner> load_geox(const std::string& dir, const std::string& name) {
    const std::vector<unsigned char> bytes = read_file(dir + "/" + name + ".geox");
    const int32_t vertex_count = read_at<int32_t>(bytes, 0), face_count = read_at<int32_t>(bytes, 4);
    std::vector<Corner> vertices(static_cast<size_t>(vertex_count));
    std::vector<int> uses(vertices.size(), 0);
    for (int32_t i = 0; i < vertex_count; ++i) {
        const size_t at = 8 + static_cast<size_t>(i) * 20;
        Corner& v = vertices[static_cast<size_t>(i)];
        v.p = {read_at<float>(bytes, at), read_at<float>(bytes, at + 8), read_at<float>(bytes, at + 4)};
        v.u = read_at<float>(bytes, at + 12);
        v.v = read_at<float>(bytes, at + 16);
        v.n = {0, 0, 0};
    }
    std::vector<std::array<int32_t, 3>> faces(static_cast<size_t>(face_count));
    const size_t base = 8 + static_cast<size_t>(vertex_count) * 20;
    for (int32_t f = 0; f < face_count; ++f) {
        auto& face = faces[static_cast<size_t>(f)];
        for (int k = 0; k < 3; ++k) {
            face[static_cast<size_t>(k)] = read_at<int32_t>(bytes, base + static_cast<size_t>(f) * 12 + static_cast<size_t>(k) * 4);
            if (face[static_cast<size_t>(k)] < 0 || face[static_cast<size_t>(k)] >= vertex_count) fail(name + ": index out of range");
        }
        // Face normal as the scenes compute it: (P2 - P1) x (P0 - P2), unit length.
        const Vec3 p0 = vertices[static_cast<size_t>(face[0])].p, p1 = vertices[static_cast<size_t>(face[1])].p,
                   p2 = vertices[static_cast<size_t>(face[2])].p;
        Vec3 n = cross(p2 - p1, p0 - p2);
        const float len = length(n);
        if (len != 0) n = n * (1 / len);
        for (int32_t i : face) {
            vertices[static_cast<size_t>(i)].n = vertices[static_cast<size_t>(i)].n + n;
            ++uses[static_cast<size_t>(i)];
        }
    }
    for (size_t i = 0; i < vertices.size(); ++i)
        if (uses[i]) vertices[i].n = vertices[i].n * (1.0f / static_cast<float>(uses[i]));
    std::vector<Corner> corners;
    for (const auto& face : faces)
        for (int32_t i : face) corners.push_back(vertices[static_cast<size_t>(i)]);
    return corners;
}

CameraPath load_camera(const std::string& dir, const std::string& name) {
    const std::vector<unsigned char> bytes = read_file(dir + "/" + name + ".camera");
    CameraPath path;
    path.slots.assign(100, CameraRecord{0, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}});
    path.count = static_cast<int>(bytes.size() / 40);
    for (int i = 0; i < path.count && i < 100; ++i) {
        float f[10];
        std::memcpy(f, bytes.data() + static_cast<size_t>(i) * 40, 40);
        path.slots[static_cast<size_t>(i)] = {f[0], {f[1], f[2], f[3]}, {f[4], f[5], f[6]}, {f[7], f[8], f[9]}};
    }
    return path;
}

CameraRecord interpolate_camera(const CameraPath& path, float t) {
    const int n = path.count;
    if (n < 4) return path.slots[1];
    const float seg = 1.0f / static_cast<float>(n - 2);
    const int k = static_cast<int>(static_cast<float>(n - 2) * t);
    const float s = (t - static_cast<float>(k) * seg) / seg;
    const CameraRecord& a = path.slots[static_cast<size_t>(k + 1)];
    const CameraRecord& b = path.slots[static_cast<size_t>(k + 2)];
    const CameraRecord& c = path.slots[static_cast<size_t>(k + 3)];
    auto h3 = [&](Vec3 x, Vec3 y, Vec3 z) { return Vec3{hermite(x.x, y.x, z.x, s), hermite(x.y, y.y, z.y, s), hermite(x.z, y.z, z.z, s)}; };
    return {hermite(a.fov, b.fov, c.fov, s), h3(a.eye, b.eye, c.eye), h3(a.target, b.target, c.target), h3(a.up, b.up, c.up)};
}

void write_png(const std::string& path, int width, int height, const std::vector<std::array<float, 3>>& pixels) {
    std::vector<uint8_t> rgb(pixels.size() * 3);
    for (size_t i = 0; i < pixels.size(); ++i)
        for (size_t k = 0; k < 3; ++k)
            rgb[i * 3 + k] = static_cast<uint8_t>(std::lround(std::fmin(1.0f, std::fmax(0.0f, pixels[i][k])) * 255));
    if (!write_png_file(path, rgb.data(), width, height)) fail("cannot write " + path);
}
