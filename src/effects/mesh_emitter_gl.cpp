#include "effects/mesh_emitter_gl.h"

#include "debug.h"
#include "gl_entry.h"

#include <algorithm>

namespace {
constexpr int kBatch = 20000; // particles a draw
} // namespace

cMeshEmitter_GL::cMeshEmitter_GL(const cMeshEmitter& emitter) : m_emitter(emitter) {
    m_vbo.set_usage(GL_DYNAMIC_DRAW_ARB);
}

std::size_t cMeshEmitter_GL::point_count() const {
    const std::size_t count = m_emitter.positions().size() / 3;
    VT_ASSERT(count < std::size_t(cMeshEmitter::MAX_PARTICLES));
    return count;
}

void cMeshEmitter_GL::draw_from_buffer() {
    if (!m_allocated) {
        m_vbo.upload(cMeshEmitter::MAX_PARTICLES);
        m_allocated = true;
    }
    const int count = int(point_count());
    float* ptr = m_vbo.map();
    VT_ASSERT(ptr);
    std::copy(positions(), positions() + std::ptrdiff_t(count) * 3, ptr);
    m_vbo.unmap();
    m_vbo.bind_vertices();
    // In batches, each handed to the driver at once: a software rasteriser
    // then fills in one batch while the next is being set up, instead of
    // starting only after all of them. The points are drawn in the same
    // order as by one draw, so the picture is the same.
    for (int first = 0; first < count; first += kBatch) {
        glDrawArrays(GL_POINTS, first, std::min(kBatch, count - first));
        glFlush();
    }
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
}
