#include "effects/attractor_point_buffer.h"

#include "debug.h"

#include <algorithm>
#include <stdexcept>

cAttractorPointBuffer::cAttractorPointBuffer(std::uint32_t max_points_,
                                             std::uint32_t points_per_step_)
    : max_points(max_points_), points_per_step(points_per_step_) {
    if (points_per_step > max_points)
        throw std::invalid_argument("cAttractorPointBuffer: points_per_step > max_points");
    m_points.assign(std::size_t(max_points) * 3, 0.0f);
}

void cAttractorPointBuffer::update() {
    // The calculator takes a signed count; a batch never exceeds the ring.
    int count = int(points_per_step);
    if (std::uint64_t(m_write_cursor) + points_per_step > max_points) {
        m_write_cursor = 0;
        m_last_batch_offset = 0;
        m_calculator.restart(m_points.data(), count, params);
    } else {
        m_last_batch_offset = m_write_cursor;
        m_calculator.calculate(m_points.data() + std::size_t(m_write_cursor) * 3, count, params);
    }
    m_write_cursor += points_per_step;
}

cAttractorPointBuffer::sState cAttractorPointBuffer::state() const {
    sState state;
    std::copy(params, params + 4, state.params);
    state.orbit = m_calculator.orbit();
    state.points = m_points;
    state.write_cursor = m_write_cursor;
    state.last_batch_offset = m_last_batch_offset;
    return state;
}

void cAttractorPointBuffer::set_state(const sState& state) {
    VT_ASSERT(state.points.size() == m_points.size());
    std::copy(state.params, state.params + 4, params);
    m_calculator.set_orbit(state.orbit);
    m_points = state.points;
    m_write_cursor = state.write_cursor;
    m_last_batch_offset = state.last_batch_offset;
}
