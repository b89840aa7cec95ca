// Points for iRoundPoints to draw: their positions in memory, and a way to
// draw them from a GL vertex buffer. The points added on the CPU are read
// from memory only, so a source uploads its points when they are first drawn
// from the buffer, never before.
#pragma once

#include <cstddef>

class iPointSource {
public:
    virtual ~iPointSource() = default;

    // x, y, z per point, point_count() of them.
    virtual const float* positions() const = 0;
    virtual std::size_t point_count() const = 0;
    // Draws the points as GL points from a vertex buffer, uploading first
    // what changed since the last such draw. Leaves the vertex array enabled
    // and no array buffer bound.
    virtual void draw_from_buffer() = 0;
};
