#include "math/random.h"

namespace {
// Unsigned arithmetic wraps modulo 2^32, which is exactly the generator's.
std::uint32_t g_seed = 1;
} // namespace

void vt_srand(std::uint32_t seed) {
    g_seed = seed;
}

std::uint32_t vt_rand_state() {
    return g_seed;
}

int vt_rand() {
    g_seed = g_seed * 214013u + 2531011u;
    return int((g_seed >> 16) & 0x7FFFu);
}
