// Clamping to the unit range, shared by the scenes and the tools.
#pragma once

// x limited to [0, 1], in the precision it comes in; a NaN gives 0.
template <typename T>
inline T clamp01(T x) {
    return x > T(0) ? (x < T(1) ? x : T(1)) : T(0);
}
