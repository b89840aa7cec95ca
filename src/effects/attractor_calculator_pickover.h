// The Pickover attractor
//   x' = sin(a y) - z cos(b x),  y' = z sin(c x) - cos(d y),  z' = sin(x)
// with sines and cosines from the shared lookup tables and a small
// perturbation per step from a precomputed noise table.
#pragma once

#include "effects/attractor_calculator.h"
#include "effects/sincos_table.h"

#include <vector>

class cAttractorCalculator_pickover : public iAttractorCalculator {
public:
    static constexpr int NOISE_SIZE = 1000000;

    // Reseeds the shared generator with 1337 and draws the noise table from
    // it, so every calculator has the same table.
    cAttractorCalculator_pickover();

    void restart(float* out, int count, const float* params) override;
    void calculate(float* out, int count, const float* params) override;

    // Scale of the per-step perturbation; owners may change it at any time.
    double m_noise_amplitude = 0.0005;

    // Where the orbit stands: what calculate moves, and the amplitude.
    struct sOrbit {
        double x = 0.0, y = 0.0, z = 0.0;
        int noise_cursor = 0;
        double noise_amplitude = 0.0;
    };
    sOrbit orbit() const { return {m_x, m_y, m_z, m_noise_cursor, m_noise_amplitude}; }
    void set_orbit(const sOrbit& orbit);

    const std::vector<double>& noise() const { return m_noise; }
    int noise_cursor() const { return m_noise_cursor; }

private:
    const cSinCosTable& m_table;
    double m_x = 0.0, m_y = 0.0, m_z = 0.0;
    // Next noise entry; kept in 0..NOISE_SIZE-1 between calls.
    int m_noise_cursor = 0;
    // Values rand() / 32767 - 0.5.
    std::vector<double> m_noise;
};
