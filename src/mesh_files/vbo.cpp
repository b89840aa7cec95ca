#include "mesh_files/vbo.h"

#include "debug.h"
#include "gl_entry.h"
#include "gl_setup.h"

cVBO::cVBO(int size) : m_size(size) {
    ext::glGenBuffersARB(1, &m_buffer);
}

cVBO::~cVBO() {
    release();
}

void cVBO::release() {
    if (m_buffer != 0) {
        ext::glDeleteBuffersARB(1, &m_buffer);
        m_buffer = 0;
    }
}

void cVBO::upload(int count, const void* data) {
    ext::glBindBufferARB(m_target, m_buffer);
    ext::glBufferDataARB(m_target, GLsizeiptrARB(count) * m_size * 4, data, m_usage);
    ext::glBindBufferARB(m_target, 0);
}

float* cVBO::map() {
    ext::glBindBufferARB(m_target, m_buffer);
    return static_cast<float*>(ext::glMapBufferARB(m_target, GL_WRITE_ONLY_ARB));
}

void cVBO::unmap() {
    ext::glBindBufferARB(m_target, m_buffer);
    // False means the contents were lost (a mode switch, for example); the
    // frame goes on with whatever the buffer holds.
    if (!ext::glUnmapBufferARB(m_target))
        report_gl_error("cVBO::unmap");
}

void cVBO::bind_vertices() {
    VT_ASSERT(m_buffer);
    VT_ASSERT((m_size == 3) || (m_size == 4));
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_buffer);
    glVertexPointer(m_size, GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_VERTEX_ARRAY);
}

void cVBO::bind_normals() {
    VT_ASSERT(m_buffer);
    VT_ASSERT(m_size == 3);
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_buffer);
    glNormalPointer(GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_NORMAL_ARRAY);
}

void cVBO::bind_texcoords(GLenum unit) {
    VT_ASSERT(m_buffer);
    ext::glClientActiveTextureARB(unit);
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_buffer);
    glTexCoordPointer(m_size, GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    ext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
}
