// Deterministic randomness for the generator: a seeded PRNG and hashed
// gradient and cellular noise, periodic where a texture must tile.
#pragma once

#include <cstdint>

struct Rng {
    uint64_t state;
};

Rng make_rng(uint64_t seed);
uint32_t next_u32(Rng& rng);
// Uniform in [0, 1).
float uniform(Rng& rng);
// Uniform in [lo, hi).
float uniform(Rng& rng, float lo, float hi);
// Uniform integer in [0, n).
int below(Rng& rng, int n);

// Gradient noise in about [-1, 1]; the 2D form repeats every period
// lattice cells in x and y (a period of 0 means no repetition).
float noise2(float x, float y, int period, uint32_t seed);
float noise3(float x, float y, float z, uint32_t seed);

// Sums of octaves (each twice the frequency, gain times the amplitude),
// normalised back to about [-1, 1].
float fbm2(float x, float y, int octaves, int period, uint32_t seed, float gain = 0.5f);
float fbm3(float x, float y, float z, int octaves, uint32_t seed, float gain = 0.5f);

// Distances to the nearest and second-nearest feature point of a jittered
// grid that repeats every period cells.
struct CellDistances {
    float f1, f2;
};
CellDistances cells2(float x, float y, int period, uint32_t seed);
