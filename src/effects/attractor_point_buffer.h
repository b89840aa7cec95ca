// A ring of attractor points, filled one batch per update. The points live in
// CPU memory; the drawing side uploads the batch that update wrote (or the
// whole ring) and draws max_points points.
#pragma once

#include "effects/attractor_calculator_pickover.h"

#include <cstdint>
#include <vector>

class cAttractorPointBuffer {
public:
    // Throws std::invalid_argument when points_per_step exceeds max_points.
    cAttractorPointBuffer(std::uint32_t max_points, std::uint32_t points_per_step);

    // Computes the next batch. It goes after the previous one; when it does
    // not fit any more, the orbit restarts at the origin and the ring is
    // overwritten from its start. Points past the last whole batch keep their
    // older values.
    void update();

    const std::uint32_t max_points;
    const std::uint32_t points_per_step;
    // The map's parameters a, b, c, d; set by the owner before each update.
    float params[4] = {0.0f, 0.0f, 0.0f, 0.0f};

    // What update moves (the calculator's fixed noise table aside).
    struct sState {
        float params[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        cAttractorCalculator_pickover::sOrbit orbit;
        std::vector<float> points;
        std::uint32_t write_cursor = 0;
        std::uint32_t last_batch_offset = 0;
    };
    sState state() const;
    // A state of a ring of the same size.
    void set_state(const sState& state);

    cAttractorCalculator_pickover& calculator() { return m_calculator; }
    // max_points x 3 floats; zero until written.
    const std::vector<float>& points() const { return m_points; }
    // Number of points written since the ring last wrapped.
    std::uint32_t write_cursor() const { return m_write_cursor; }
    // First point of the batch the last update wrote.
    std::uint32_t last_batch_offset() const { return m_last_batch_offset; }

private:
    cAttractorCalculator_pickover m_calculator;
    std::vector<float> m_points;
    std::uint32_t m_write_cursor = 0;
    std::uint32_t m_last_batch_offset = 0;
};
