// Deterministic noise for the image generators: a lattice hash, smooth value
// noise and its fractal sums. Nothing depends on the C library's rand, so the
// generators never disturb the show's own random sequence.
#pragma once

#include <cstdint>

namespace imagegen {

// A well-mixed 32-bit hash of a lattice point and a seed.
std::uint32_t hash3(std::int32_t x, std::int32_t y, std::uint32_t seed);

// Smooth value noise in 0..1 with lattice spacing 1. A positive period_x
// makes it repeat every period_x units along x (period_x must be whole), so
// a texture that wraps around a sphere has no seam.
double value_noise(double x, double y, std::uint32_t seed, int period_x = 0);

// Fractal sum of octaves of value noise (each twice the frequency and
// gain times the amplitude of the one before), normalised to 0..1.
double fbm(double x, double y, std::uint32_t seed, int octaves, double gain = 0.5,
           int period_x = 0);

// A small deterministic generator for scattering points (chaos games,
// sparkles): 32-bit xorshift, uniform doubles in [0, 1).
class cNoiseRng {
public:
    explicit cNoiseRng(std::uint32_t seed) : m_state(seed ? seed : 0x9e3779b9u) {}
    std::uint32_t next();
    double uniform() { return double(next()) / 4294967296.0; }

private:
    std::uint32_t m_state;
};

double smoothstep(double edge0, double edge1, double x);

} // namespace imagegen
