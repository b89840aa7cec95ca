#include "noise.h"

#include "math/smoothstep.h"

#include <cmath>

namespace imagegen {

std::uint32_t hash3(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x27d4eb2du;
    h ^= std::uint32_t(x) * 0x85ebca6bu;
    h = (h ^ (h >> 15)) * 0x2c1b3c6du;
    h ^= std::uint32_t(y) * 0xc2b2ae35u;
    h = (h ^ (h >> 13)) * 0x297a2d39u;
    return h ^ (h >> 16);
}

namespace {
double lattice(std::int32_t x, std::int32_t y, std::uint32_t seed, int period_x) {
    if (period_x > 0) {
        x %= period_x;
        if (x < 0)
            x += period_x;
    }
    return double(hash3(x, y, seed) >> 8) / double(1u << 24);
}

double fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}
} // namespace

double value_noise(double x, double y, std::uint32_t seed, int period_x) {
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = std::int32_t(fx), iy = std::int32_t(fy);
    const double tx = fade(x - fx), ty = fade(y - fy);
    const double v00 = lattice(ix, iy, seed, period_x), v10 = lattice(ix + 1, iy, seed, period_x);
    const double v01 = lattice(ix, iy + 1, seed, period_x);
    const double v11 = lattice(ix + 1, iy + 1, seed, period_x);
    const double bottom = v00 + (v10 - v00) * tx, top = v01 + (v11 - v01) * tx;
    return bottom + (top - bottom) * ty;
}

double fbm(double x, double y, std::uint32_t seed, int octaves, double gain, int period_x) {
    double sum = 0.0, amplitude = 1.0, total = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * value_noise(x, y, seed + std::uint32_t(o) * 101u, period_x);
        total += amplitude;
        amplitude *= gain;
        x *= 2.0;
        y *= 2.0;
        period_x *= 2;
    }
    return sum / total;
}

std::uint32_t cNoiseRng::next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
}

double smoothstep(double edge0, double edge1, double x) {
    return ::smoothstep((x - edge0) / (edge1 - edge0));
}

} // namespace imagegen
