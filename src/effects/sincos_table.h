// Sine and cosine from two 1024-entry tables, for loops that need millions of
// them per second. An angle is quantised to 2 pi / 1048576: its upper ten bits
// pick a coarse angle, its lower ten bits a fine one, and the angle-sum
// formulas join the two.
#pragma once

#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

class cSinCosTable {
public:
    static constexpr int TABLE_SIZE = 1024;
    // 1048576 / (2 pi): table steps per radian.
    static constexpr double STEPS_PER_RADIAN = 166886.05360752725;

    // The tables of the process, built on first use.
    static const cSinCosTable& instance();

    // The angle index of v: v in steps, rounded to nearest (ties to even),
    // reduced to its low 32 bits. Angles too large for 64 bits (and NaN) give
    // index 0 rather than undefined behaviour.
    static std::int32_t angle_index(double v) {
        double steps = v * STEPS_PER_RADIAN;
#if defined(__SSE2__)
        // cvtsd2si rounds with the current mode (to nearest even) and yields
        // 0x8000000000000000 when the value does not fit.
        std::int64_t wide = _mm_cvtsd_si64(_mm_set_sd(steps));
#else
        std::int64_t wide = (steps > -9.2e18 && steps < 9.2e18)
                                ? static_cast<std::int64_t>(std::nearbyint(steps))
                                : INT64_MIN;
#endif
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
    }

    void sincos(double v, double* s, double* c) const {
        std::int32_t i = angle_index(v);
        int hi = (i >> 10) & 1023;
        int lo = i & 1023;
        double sh = m_coarse[hi][0], ch = m_coarse[hi][1];
        double sl = m_fine[lo][0], cl = m_fine[lo][1];
        *s = sh * cl + ch * sl;
        *c = cl * ch - sl * sh;
    }
    double sin(double v) const {
        double s, c;
        sincos(v, &s, &c);
        return s;
    }
    double cos(double v) const {
        double s, c;
        sincos(v, &s, &c);
        return c;
    }

private:
    cSinCosTable();

    // (sine, cosine) pairs as floats; one spare entry past the end.
    float m_coarse[TABLE_SIZE + 1][2];
    float m_fine[TABLE_SIZE + 1][2];
};
