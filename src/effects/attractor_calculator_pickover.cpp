#include "effects/attractor_calculator_pickover.h"

#include "math/random.h"

cAttractorCalculator_pickover::cAttractorCalculator_pickover()
    : m_table(cSinCosTable::instance()), m_noise(NOISE_SIZE) {
    vt_srand(1337);
    for (double& n : m_noise)
        n = vt_rand() / 32767.0 - 0.5;
}

void cAttractorCalculator_pickover::restart(float* out, int count, const float* params) {
    m_x = m_y = m_z = 0.0;
    calculate(out, count, params);
}

void cAttractorCalculator_pickover::calculate(float* out, int count, const float* params) {
    const double a = params[0], b = params[1], c = params[2], d = params[3];
    const double amp = m_noise_amplitude;
    const double* noise = m_noise.data();
    double x = m_x, y = m_y, z = m_z;
    int n = m_noise_cursor;
    for (int i = 0; i < count; ++i) {
        double nx = m_table.sin(a * y) - z * m_table.cos(b * x);
        double ny = z * m_table.sin(c * x) - m_table.cos(d * y);
        double nz = m_table.sin(x);
        out[0] = float(nx);
        out[1] = float(ny);
        out[2] = float(nz);
        out += 3;
        // The written point stays clean; the perturbation only feeds the next step.
        // n stays below NOISE_SIZE + 3 within a call: it is reduced after each wrap
        // instead of once at the end, so very long calls cannot overflow it.
        x = nx + noise[n] * amp;
        y = ny + noise[n + 1 < NOISE_SIZE ? n + 1 : n + 1 - NOISE_SIZE] * amp;
        z = nz + noise[n + 2 < NOISE_SIZE ? n + 2 : n + 2 - NOISE_SIZE] * amp;
        n += 3;
        if (n >= NOISE_SIZE)
            n -= NOISE_SIZE;
    }
    m_x = x;
    m_y = y;
    m_z = z;
    m_noise_cursor = n;
}

void cAttractorCalculator_pickover::set_orbit(const sOrbit& orbit) {
    m_x = orbit.x;
    m_y = orbit.y;
    m_z = orbit.z;
    m_noise_cursor = orbit.noise_cursor;
    m_noise_amplitude = orbit.noise_amplitude;
}
