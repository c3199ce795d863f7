// Deterministic randomness for the generator: splitmix64 for sequences, an
// integer hash for lattice noise, so the output never depends on the
// standard library's distributions.
#include "procgen.h"

#include <cmath>

namespace {

uint32_t hash3(int x, int y, int z, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA77u;
    h = (h ^ (h >> 15)) * 0x2C1B3C6Du;
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h = (h ^ (h >> 12)) * 0x297A2D39u;
    h ^= static_cast<uint32_t>(z) * 0x27D4EB2Fu;
    h = (h ^ (h >> 15)) * 0x165667B1u;
    return h ^ (h >> 16);
}

float hash_unit(uint32_t h) { return static_cast<float>(h >> 8) * (1.0f / 16777216.0f); }

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

float lerp(float a, float b, float t) { return a + (b - a) * t; }

int wrap(int i, int period) {
    if (period <= 0) return i;
    const int m = i % period;
    return m < 0 ? m + period : m;
}

float grad2(int ix, int iy, uint32_t seed, float dx, float dy) {
    // Eight gradient directions of equal length avoid axis-aligned artefacts.
    static const float gx[8] = {1, -1, 0, 0, 0.7071f, -0.7071f, 0.7071f, -0.7071f};
    static const float gy[8] = {0, 0, 1, -1, 0.7071f, 0.7071f, -0.7071f, -0.7071f};
    const uint32_t h = hash3(ix, iy, 0, seed) & 7u;
    return gx[h] * dx + gy[h] * dy;
}

float grad3(int ix, int iy, int iz, uint32_t seed, float dx, float dy, float dz) {
    // The twelve cube-edge directions of classic 3D gradient noise.
    switch (hash3(ix, iy, iz, seed) % 12u) {
        case 0: return dx + dy;
        case 1: return -dx + dy;
        case 2: return dx - dy;
        case 3: return -dx - dy;
        case 4: return dx + dz;
        case 5: return -dx + dz;
        case 6: return dx - dz;
        case 7: return -dx - dz;
        case 8: return dy + dz;
        case 9: return -dy + dz;
        case 10: return dy - dz;
        default: return -dy - dz;
    }
}

}  // namespace

Rng make_rng(uint64_t seed) { return Rng{seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull}; }

uint32_t next_u32(Rng& rng) {
    uint64_t z = (rng.state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

float uniform(Rng& rng) { return hash_unit(next_u32(rng)); }

float uniform(Rng& rng, float lo, float hi) { return lo + (hi - lo) * uniform(rng); }

int below(Rng& rng, int n) {
    return static_cast<int>((static_cast<uint64_t>(next_u32(rng)) * static_cast<uint64_t>(n)) >> 32);
}

float noise2(float x, float y, int period, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float dx = x - fx, dy = y - fy;
    const int x0 = wrap(ix, period), x1 = wrap(ix + 1, period);
    const int y0 = wrap(iy, period), y1 = wrap(iy + 1, period);
    const float u = fade(dx), v = fade(dy);
    const float a = lerp(grad2(x0, y0, seed, dx, dy), grad2(x1, y0, seed, dx - 1, dy), u);
    const float b = lerp(grad2(x0, y1, seed, dx, dy - 1), grad2(x1, y1, seed, dx - 1, dy - 1), u);
    return lerp(a, b, v) * 1.4142f;
}

float noise3(float x, float y, float z, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy), iz = static_cast<int>(fz);
    const float dx = x - fx, dy = y - fy, dz = z - fz;
    const float u = fade(dx), v = fade(dy), w = fade(dz);
    float layer[2];
    for (int k = 0; k < 2; ++k) {
        const float gz = dz - static_cast<float>(k);
        const float a = lerp(grad3(ix, iy, iz + k, seed, dx, dy, gz),
                             grad3(ix + 1, iy, iz + k, seed, dx - 1, dy, gz), u);
        const float b = lerp(grad3(ix, iy + 1, iz + k, seed, dx, dy - 1, gz),
                             grad3(ix + 1, iy + 1, iz + k, seed, dx - 1, dy - 1, gz), u);
        layer[k] = lerp(a, b, v);
    }
    return lerp(layer[0], layer[1], w);
}

float fbm2(float x, float y, int octaves, int period, uint32_t seed, float gain) {
    float sum = 0, amplitude = 1, total = 0, frequency = 1;
    for (int i = 0; i < octaves; ++i) {
        const int p = period > 0 ? period << i : 0;
        sum += amplitude * noise2(x * frequency, y * frequency, p, seed + 977u * static_cast<uint32_t>(i));
        total += amplitude;
        amplitude *= gain;
        frequency *= 2;
    }
    return sum / total;
}

float fbm3(float x, float y, float z, int octaves, uint32_t seed, float gain) {
    float sum = 0, amplitude = 1, total = 0, frequency = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * noise3(x * frequency, y * frequency, z * frequency,
                                  seed + 977u * static_cast<uint32_t>(i));
        total += amplitude;
        amplitude *= gain;
        frequency *= 2;
    }
    return sum / total;
}

CellDistances cells2(float x, float y, int period, uint32_t seed) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    float f1 = 9, f2 = 9;
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            const uint32_t h = hash3(wrap(ix + i, period), wrap(iy + j, period), 7, seed);
            const float px = static_cast<float>(ix + i) + hash_unit(h);
            const float py = static_cast<float>(iy + j) + hash_unit(h * 0x2545F491u + 1u);
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < f1) {
                f2 = f1;
                f1 = d;
            } else if (d < f2) {
                f2 = d;
            }
        }
    }
    return {f1, f2};
}
