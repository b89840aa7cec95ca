// One GL vertex buffer object holding tightly packed floats, m_size of them
// per element, bound as a fixed-function vertex, normal or texture-coordinate
// array.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

class cVBO {
public:
    // Components per element (2, 3 or 4); generates the buffer name.
    explicit cVBO(int size);
    ~cVBO();
    cVBO(const cVBO&) = delete;
    cVBO& operator=(const cVBO&) = delete;

    // Deletes the buffer; the destructor then has nothing left to delete.
    void release();

    // GL_STATIC_DRAW_ARB by default; buffers rewritten every frame set
    // GL_DYNAMIC_DRAW_ARB before their first upload.
    void set_usage(GLenum usage) { m_usage = usage; }
    // GL_ARRAY_BUFFER_ARB by default; index lists use
    // GL_ELEMENT_ARRAY_BUFFER_ARB (4-byte indices, m_size per element).
    void set_target(GLenum target) { m_target = target; }

    // Allocates count elements and copies data into them; without data the
    // storage is only allocated (fill it through map).
    void upload(int count, const void* data = nullptr);
    // Write-only pointer to the buffer's storage, until unmap.
    float* map();
    void unmap();

    // Bind the buffer as a client array and enable it; the caller draws and
    // disables the array afterwards.
    void bind_vertices();
    void bind_normals();
    // The texture-coordinate array of one unit (GL_TEXTURE1_ARB, ...); the
    // client active unit is back at unit 0 afterwards.
    void bind_texcoords(GLenum unit);

    int get_size() const { return m_size; }
    GLuint get_buffer() const { return m_buffer; }

private:
    int m_size;
    GLuint m_buffer = 0;
    GLenum m_usage = GL_STATIC_DRAW_ARB;
    GLenum m_target = GL_ARRAY_BUFFER_ARB;
};
