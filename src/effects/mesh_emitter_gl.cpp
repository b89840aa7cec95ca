#include "effects/mesh_emitter_gl.h"

#include "debug.h"
#include "gl_entry.h"
#include "profile_scope.h"

#include <algorithm>

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
    glDrawArrays(GL_POINTS, 0, m_count);
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
}
