// Hermite ease between 0 and 1, shared by the scenes.
#pragma once

#include "math/clamp01.h"

// x is clamped to [0, 1] first, so the curve is flat outside that range.
inline double smoothstep(double x) {
    const double c = clamp01(x);
    return c * c * (3.0 - 2.0 * c);
}

// Computed in double precision whatever the argument.
inline float smoothstep(float x) {
    return float(smoothstep(double(x)));
}
