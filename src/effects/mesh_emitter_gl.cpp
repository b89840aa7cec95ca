#include "effects/mesh_emitter_gl.h"

#include "debug.h"
#include "gl_entry.h"
#include "profile_scope.h"

#include <algorithm>

namespace {
constexpr int kBatch = 20000; // particles a draw
} // namespace

cMeshEmitter_GL::cMeshEmitter_GL() {
    m_vbo.set_usage(GL_DYNAMIC_DRAW_ARB);
    m_vbo.upload(cMeshEmitter::MAX_PARTICLES);
}

void cMeshEmitter_GL::upload(const cMeshEmitter& emitter) {
    float* ptr = m_vbo.map();
    VT_ASSERT(ptr);
    // The positions as of the emitter's last update, 3 floats per particle.
    const std::vector<float>& pos = emitter.positions();
    const int num_parts = int(pos.size() / 3);
    VT_ASSERT(num_parts < cMeshEmitter::MAX_PARTICLES);
    std::copy(pos.begin(), pos.begin() + std::ptrdiff_t(num_parts) * 3, ptr);
    m_vbo.unmap();
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    m_count = num_parts;
}

void cMeshEmitter_GL::draw() {
    cProfileScope scope("particles");
    m_vbo.bind_vertices();
    // In batches, each handed to the driver at once: a software rasteriser
    // then fills in one batch while the next is being set up, instead of
    // starting only after all of them. The points are drawn in the same
    // order as by one draw, so the picture is the same.
    for (int first = 0; first < m_count; first += kBatch) {
        glDrawArrays(GL_POINTS, first, std::min(kBatch, m_count - first));
        glFlush();
    }
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
}
