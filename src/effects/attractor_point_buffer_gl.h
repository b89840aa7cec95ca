// The drawing side of an attractor point ring: a GL vertex buffer of
// max_points points, allocated at the first draw from it, that receives the
// batches written since the previous such draw at their places in the ring.
#pragma once

#include "effects/attractor_point_buffer.h"
#include "effects/point_source.h"
#include "mesh_files/vbo.h"

#include <cstdint>

class cAttractorPointBuffer_GL : public iPointSource {
public:
    // Throws std::invalid_argument when points_per_step exceeds max_points
    // (before any GL buffer exists). Needs the GL context.
    cAttractorPointBuffer_GL(std::uint32_t max_points, std::uint32_t points_per_step);

    // Computes the next batch.
    void update();

    // The points written so far. Storage that was never written holds
    // nothing defined, so it is never drawn.
    const float* positions() const override { return m_ring.points().data(); }
    std::size_t point_count() const override { return m_filled; }
    // Uploads the batches written since the last call, then draws the points
    // as GL points; the caller sets point size, blending and colour.
    void draw_from_buffer() override;

    // What update moves: the ring and the count of points written.
    struct sState {
        cAttractorPointBuffer::sState ring;
        std::uint32_t filled = 0;
    };
    sState state() const { return {m_ring.state(), m_filled}; }
    // Puts a state back; the next draw uploads every point written.
    void set_state(const sState& state);

    // The ring itself: params and the calculator's noise amplitude are set
    // here before update.
    cAttractorPointBuffer& ring() { return m_ring; }
    float* params() { return m_ring.params; }
    std::uint32_t drawn_count() const { return m_filled; }
    GLuint buffer() const { return m_vbo.get_buffer(); }

private:
    cAttractorPointBuffer m_ring;
    cVBO m_vbo{3};
    bool m_allocated = false;
    std::uint32_t m_filled = 0;
    // Points written since the last upload: [m_dirty_first, m_dirty_end).
    std::uint32_t m_dirty_first = 0;
    std::uint32_t m_dirty_end = 0;
};
