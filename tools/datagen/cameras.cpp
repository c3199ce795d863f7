// The camera paths en1 ... en6. Each path is designed as a smooth function
// of the scene's playback parameter and then sampled at the parameters at
// which playback passes its keys: with N records, record j (1 ... N - 1) is
// reached at (j - 1) / (N - 2). Record 0 is never played and repeats record
// 1. Slot N holds no record, so playback ends the last segment on record
// N - 1 with no further turn.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "datagen.h"
#include "world.h"

namespace {

struct CameraKey {
    float fov;
    Vec3 eye, target, up;
};

constexpr int path_records = 98;

float smooth(float e0, float e1, float v) {
    const float t = std::fmin(1.0f, std::fmax(0.0f, (v - e0) / (e1 - e0)));
    return t * t * (3 - 2 * t);
}

float radians(float degrees) { return degrees * 3.14159265f / 180; }

// A value given at a few times, between them a cubic Hermite curve whose
// tangents are the central differences of the neighbouring keys, so the
// motion never stops at a key.
template <class T>
struct Track {
    std::vector<std::pair<float, T>> keys;

    T operator()(float t) const {
        size_t k = 0;
        while (k + 2 < keys.size() && t > keys[k + 1].first) ++k;
        const auto& [t0, p0] = keys[k];
        const auto& [t1, p1] = keys[k + 1];
        auto tangent = [&](size_t i) {
            const size_t a = i == 0 ? 0 : i - 1, b = i + 1 < keys.size() ? i + 1 : i;
            return (keys[b].second - keys[a].second) * (1 / (keys[b].first - keys[a].first));
        };
        const float h = t1 - t0, s = std::fmin(1.0f, std::fmax(0.0f, (t - t0) / h));
        const float s2 = s * s, s3 = s2 * s;
        return p0 * (2 * s3 - 3 * s2 + 1) + tangent(k) * ((s3 - 2 * s2 + s) * h) + p1 * (-2 * s3 + 3 * s2) +
               tangent(k + 1) * ((s3 - s2) * h);
    }
};

bool write_path(const std::string& dir, const char* name, const std::vector<CameraKey>& keys) {
    std::vector<float> values;
    auto put = [&](const CameraKey& k) {
        const float record[10] = {k.fov, k.eye.x, k.eye.y, k.eye.z, k.target.x, k.target.y, k.target.z, k.up.x, k.up.y, k.up.z};
        values.insert(values.end(), record, record + 10);
    };
    put(keys.front());
    for (const CameraKey& k : keys) put(k);
    std::vector<unsigned char> bytes(values.size() * 4);
    for (size_t i = 0; i < values.size(); ++i) {
        uint32_t bits;
        std::memcpy(&bits, &values[i], 4);
        for (int b = 0; b < 4; ++b) bytes[i * 4 + static_cast<size_t>(b)] = static_cast<unsigned char>(bits >> (8 * b));
    }
    const std::string path = dir + "/" + name + ".camera";
    FILE* file = std::fopen(path.c_str(), "wb");
    const bool ok = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file && std::fclose(file) != 0) return false;
    if (!ok) std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
    return ok;
}

// Keys 1 ... records - 1 of a path designed as camera(parameter).
template <class F>
std::vector<CameraKey> sample_path(F camera) {
    std::vector<CameraKey> keys;
    for (int j = 1; j < path_records; ++j) keys.push_back(camera(static_cast<float>(j - 1) / static_cast<float>(path_records - 2)));
    return keys;
}

constexpr Vec3 up_y = {0, 1, 0};

// Meadow: the boy walks from z = -15 to 0; the camera keeps low beside him,
// a little ahead, swinging from a side view towards his front and back.
CameraKey meadow(float t) {
    const Vec3 boy = {0, 0, 15 * (t - 1)};
    const float azimuth = radians(28 + 22 * std::sin(3.14159265f * 1.2f * t));
    const float distance = 6.8f - 2.6f * smooth(0, 0.7f, t);
    const float height = 2.8f - 1.5f * smooth(0, 0.55f, t) + 0.15f * std::sin(9 * t);
    const Vec3 eye = boy + Vec3{distance * std::cos(azimuth), height, distance * std::sin(azimuth)};
    return {55, eye, boy + Vec3{0, 1.0f, 0.9f}, up_y};
}

// Arena: a descending spiral from under the ceiling down to the boy, who
// walks from z = -2.8 to 4.2 through the middle of the disc stack.
CameraKey arena(float p) {
    const Vec3 boy = {0, 0, (p - 0.4f) * 7};
    const float azimuth = radians(-115 + 140 * p);
    const float radius = 38 - 29 * smooth(0, 0.9f, p);
    const float height = 7.6f - 5.4f * smooth(0.25f, 0.75f, p);
    const Vec3 eye = {radius * std::cos(azimuth), height, radius * std::sin(azimuth)};
    const Vec3 centre = {0, 2.5f, 0}, on_boy = boy + Vec3{0, 1.1f, 0};
    const Vec3 target = centre + (on_boy - centre) * smooth(0.35f, 0.8f, p);
    const float roll = radians(7) * (1 - smooth(0.1f, 0.6f, p)) * std::sin(7 * p);
    return {62 - 8 * smooth(0, 1, p), eye, target, {std::sin(roll), std::cos(roll), 0}};
}

// City: from high over the southern blocks down behind the boy, over his
// side and ahead of him, looking back as he comes on. The speck cloud fills
// the air below height 6, so the camera keeps well above it (near specks
// look huge) and looks down along the avenue.
CameraKey city(float t) {
    const Vec3 boy = {0, 0, (t - 0.5f) * 15};
    static const Track<Vec3> eye_offset = {{{0.0f, {9.0f, 13.0f, -15.0f}},
                                            {0.25f, {5.5f, 9.5f, -10.0f}},
                                            {0.45f, {4.4f, 7.4f, -7.0f}},
                                            {0.62f, {4.6f, 7.2f, -5.5f}},
                                            {0.8f, {4.6f, 7.4f, 4.5f}},
                                            {1.0f, {4.2f, 7.8f, 7.0f}}}};
    static const Track<Vec3> target_offset = {{{0.0f, {0.0f, 1.0f, 6.0f}},
                                               {0.25f, {0.0f, 1.5f, 4.0f}},
                                               {0.45f, {0.0f, 1.6f, 3.0f}},
                                               {0.62f, {0.0f, 1.4f, 2.5f}},
                                               {0.8f, {0.0f, 1.3f, -1.0f}},
                                               {1.0f, {0.0f, 1.2f, -1.5f}}}};
    return {58, boy + eye_offset(t), boy + target_offset(t), up_y};
}

// Earth: played at the square of the scene's progress. A wide approach
// among the star fields that closes in on the boy walking on top of the
// globe, viewed from the side he shows (his sprite faces z).
CameraKey earth(float u) {
    const float distance = 78 - 66 * smooth(0, 1, u);
    const float azimuth = radians(-62 + 95 * u), elevation = radians(6 + 28 * smooth(0, 1, u));
    const Vec3 eye = {distance * std::cos(elevation) * std::sin(azimuth), distance * std::sin(elevation),
                      distance * std::cos(elevation) * std::cos(azimuth)};
    const Vec3 target = Vec3{0, 10.8f, 0} * smooth(0.0f, 0.6f, u);
    return {50, eye, target, up_y};
}

// Sea: across the water towards the ship, down through the surface to the
// boy walking on the seabed, just above the fish (which swim up to 2.5
// high), then up beside the hull and out into the air to look at the ship
// under sail.
CameraKey sea(float t) {
    static const Track<Vec3> eye = {{{0.0f, {15.0f, 9.5f, -20.0f}},
                                     {0.25f, {9.0f, 7.8f, -12.0f}},
                                     {0.4f, {6.0f, 6.2f, -7.5f}},
                                     {0.48f, {5.0f, 4.0f, -4.0f}},
                                     {0.56f, {4.6f, 3.3f, -1.5f}},
                                     {0.7f, {4.4f, 3.2f, 4.0f}},
                                     {0.8f, {3.4f, 3.6f, 7.5f}},
                                     {0.87f, {2.6f, 5.6f, 9.5f}},
                                     {0.94f, {5.5f, 7.6f, 14.0f}},
                                     {1.0f, {7.5f, 8.6f, 18.0f}}}};
    static const Track<Vec3> target = {{{0.0f, {-3.0f, 4.0f, 4.0f}},
                                        {0.3f, {-1.0f, 3.0f, 2.0f}},
                                        {0.45f, {0.0f, 1.0f, -1.5f}},
                                        {0.56f, {0.0f, 1.1f, 0.9f}},
                                        {0.7f, {0.0f, 1.1f, 3.0f}},
                                        {0.8f, {-3.0f, 4.0f, 8.0f}},
                                        {0.9f, ship_centre + Vec3{0, 2, 0}},
                                        {1.0f, ship_centre + Vec3{0, 4, -1.5f}}}};
    return {56, eye(t), target(t), up_y};
}

}  // namespace

bool write_cameras(const std::string& dir) {
    const CameraKey logo_view = {45, {0, 0.8f, 10.5f}, {0, 0, 0}, up_y};
    return write_path(dir, "en1", sample_path(meadow)) && write_path(dir, "en2", sample_path(arena)) &&
           write_path(dir, "en3", sample_path(city)) && write_path(dir, "en4", sample_path(earth)) &&
           write_path(dir, "en5", sample_path(sea)) && write_path(dir, "en6", {logo_view});
}
