// Hermite ease between 0 and 1, shared by the scenes.
#pragma once

// x is clamped to [0, 1] first, so the curve is flat outside that range.
inline float smoothstep(float x) {
    double c = x < 0.0f ? 0.0 : (x > 1.0f ? 1.0 : double(x));
    return float(c * c * (3.0 - 2.0 * c));
}
