#include "effects/attractor_point_buffer_gl.h"

#include "gl_entry.h"
#include "gl_setup.h"
#include "profile_scope.h"

#include <algorithm>
#include <cstring>

cAttractorPointBuffer_GL::cAttractorPointBuffer_GL(std::uint32_t max_points,
                                                   std::uint32_t points_per_step)
    : m_ring(max_points, points_per_step) {
    m_vbo.set_usage(GL_DYNAMIC_DRAW_ARB);
    m_vbo.upload(int(max_points));
}

void cAttractorPointBuffer_GL::update() {
    cProfileScope scope("points upload");
    m_ring.update();
    const std::uint32_t first = m_ring.last_batch_offset();
    const std::size_t floats = std::size_t(m_ring.points_per_step) * 3;
    // A write-only mapping keeps the rest of the ring; only the new batch is
    // copied.
    float* ptr = m_vbo.map();
    if (ptr) {
        std::memcpy(ptr + std::size_t(first) * 3, m_ring.points().data() + std::size_t(first) * 3,
                    floats * sizeof(float));
        m_vbo.unmap();
        m_filled = std::max(m_filled, first + m_ring.points_per_step);
    } else {
        // Nothing was mapped, so there is nothing to unmap; the batch is
        // missing from the picture until the ring comes round again.
        report_gl_error("cAttractorPointBuffer::update");
    }
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}

void cAttractorPointBuffer_GL::draw() {
    cProfileScope scope("points");
    m_vbo.bind_vertices();
    glDrawArrays(GL_POINTS, 0, GLsizei(m_filled));
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}
