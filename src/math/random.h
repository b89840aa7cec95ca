// The process-wide pseudo-random generator of the effects and scenes.
//
// The show's pictures depend on the exact sequence of numbers: the classic
// linear congruential generator seed = seed * 214013 + 2531011 (mod 2^32),
// returning bits 16..30 of the new seed, so every value lies in 0..32767.
// The C library's rand() differs from platform to platform (glibc's returns
// up to 2^31 - 1), hence this one. Everything that draws goes through it, in
// a fixed order, so that the same seed gives the same show.
#pragma once

#include <cstdint>

constexpr int VT_RAND_MAX = 32767;

// Restarts the sequence. The seed is 1 until the first call.
void vt_srand(std::uint32_t seed);
// The generator's state: vt_srand(vt_rand_state()) later repeats the sequence
// from this point on.
std::uint32_t vt_rand_state();
// The next number of the sequence, 0 to 32767.
int vt_rand();
// The next number scaled to 0..1 as vt_rand() / 32767.0; 1.0 is reachable.
inline double vt_rand_unit() {
    return vt_rand() / double(VT_RAND_MAX);
}
