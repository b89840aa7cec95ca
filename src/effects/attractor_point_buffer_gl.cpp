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
}

void cAttractorPointBuffer_GL::update() {
    m_ring.update();
    const std::uint32_t first = m_ring.last_batch_offset();
    const std::uint32_t end = first + m_ring.points_per_step;
    m_filled = std::max(m_filled, end);
    if (m_dirty_first == m_dirty_end) {
        m_dirty_first = first;
        m_dirty_end = end;
    } else {
        m_dirty_first = std::min(m_dirty_first, first);
        m_dirty_end = std::max(m_dirty_end, end);
    }
}

void cAttractorPointBuffer_GL::draw_from_buffer() {
    if (m_dirty_first != m_dirty_end) {
        cProfileScope scope("points upload");
        if (!m_allocated) {
            m_vbo.upload(int(m_ring.max_points));
            m_allocated = true;
        }
        // A write-only mapping keeps the rest of the ring; only what changed
        // is copied.
        float* ptr = m_vbo.map();
        if (!ptr) {
            // Nothing was mapped, so there is nothing to unmap, and the
            // buffer holds nothing to draw yet.
            report_gl_error("cAttractorPointBuffer_GL::draw_from_buffer");
            ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
            return;
        }
        const std::size_t first = std::size_t(m_dirty_first) * 3;
        std::memcpy(ptr + first, m_ring.points().data() + first,
                    std::size_t(m_dirty_end - m_dirty_first) * 3 * sizeof(float));
        m_vbo.unmap();
        m_dirty_first = m_dirty_end = 0;
    }
    if (!m_allocated)
        return;
    m_vbo.bind_vertices();
    glDrawArrays(GL_POINTS, 0, GLsizei(m_filled));
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}

void cAttractorPointBuffer_GL::set_state(const sState& state) {
    m_ring.set_state(state.ring);
    m_filled = state.filled;
    m_dirty_first = 0;
    m_dirty_end = m_filled;
}
