// The drawing side of an attractor point ring: a GL vertex buffer of
// max_points points that receives each update's batch at the batch's place in
// the ring, drawn as points.
#pragma once

#include "effects/attractor_point_buffer.h"
#include "mesh_files/vbo.h"

#include <cstdint>

class cAttractorPointBuffer_GL {
public:
    // Throws std::invalid_argument when points_per_step exceeds max_points
    // (before any GL buffer exists). Needs the GL context.
    cAttractorPointBuffer_GL(std::uint32_t max_points, std::uint32_t points_per_step);

    // Computes the next batch and writes just that batch into the buffer.
    void update();
    // Draws the points written so far as GL points. Leaves the vertex array
    // enabled and no array buffer bound; the caller sets point size,
    // blending and colour.
    void draw();

    // The ring itself: params and the calculator's noise amplitude are set
    // here before update.
    cAttractorPointBuffer& ring() { return m_ring; }
    float* params() { return m_ring.params; }
    // Points draw() draws: every point written at least once. Storage that
    // was never written holds nothing defined, so it is never drawn.
    std::uint32_t drawn_count() const { return m_filled; }
    GLuint buffer() const { return m_vbo.get_buffer(); }

private:
    cAttractorPointBuffer m_ring;
    cVBO m_vbo{3};
    std::uint32_t m_filled = 0;
};
