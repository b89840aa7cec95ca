#include "capture/frame_readback.h"

#include "debug.h"
#include "gl_entry.h"
#include "gl_setup.h"

#include <cstring>

cFrameReadback::cFrameReadback(int depth, eMethod method)
    : m_method(method), m_slots(std::size_t(depth > 0 ? depth : 1)) {
    if (m_method == PIXEL_BUFFERS)
        for (sSlot& slot : m_slots)
            ext::glGenBuffersARB(1, &slot.buffer);
}

cFrameReadback::~cFrameReadback() {
    if (m_method == PIXEL_BUFFERS)
        for (sSlot& slot : m_slots)
            ext::glDeleteBuffersARB(1, &slot.buffer);
}

void cFrameReadback::read(int width, int height) {
    VT_ASSERT(!full());
    sSlot& slot = m_slots[std::size_t((m_oldest + m_count) % int(m_slots.size()))];
    if (m_method == FRAMEBUFFERS) {
        GLint framebuffer = 0;
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING_EXT, &framebuffer);
        slot.framebuffer = GLuint(framebuffer);
        if (!m_warmed) {
            // One pixel read at once: whatever the driver prepares for its
            // first read of this kind is prepared now, while the program
            // runs, not while it exits (a capture's last frames are read
            // from the exit handler, after the driver's own have run).
            std::uint8_t pixel[4] = {};
            glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, 0, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
            glPopClientAttrib();
            m_warmed = true;
        }
    } else {
        const std::size_t bytes = std::size_t(width) * std::size_t(height) * 3;
        ext::glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, slot.buffer);
        if (slot.capacity < bytes) {
            ext::glBufferDataARB(GL_PIXEL_PACK_BUFFER_ARB, GLsizeiptrARB(bytes), nullptr,
                                 GL_STREAM_READ_ARB);
            slot.capacity = bytes;
        }
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        // With a pack buffer bound, the pointer is an offset into it: the
        // call only queues the copy.
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        glPopClientAttrib();
        ext::glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, 0);
    }
    slot.width = width;
    slot.height = height;
    ++m_count;
}

bool cFrameReadback::take_oldest(sCapturedFrame* done) {
    VT_ASSERT(!empty());
    const sSlot& slot = m_slots[std::size_t(m_oldest)];
    m_oldest = (m_oldest + 1) % int(m_slots.size());
    --m_count;
    const bool ok =
        m_method == FRAMEBUFFERS ? fetch_framebuffer(slot, done) : fetch_pixel_buffer(slot, done);
    if (!ok)
        report_gl_error("cFrameReadback::take_oldest");
    return ok;
}

bool cFrameReadback::fetch_pixel_buffer(const sSlot& slot, sCapturedFrame* done) {
    const std::size_t bytes = std::size_t(slot.width) * std::size_t(slot.height) * 3;
    ext::glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, slot.buffer);
    const void* pixels = ext::glMapBufferARB(GL_PIXEL_PACK_BUFFER_ARB, GL_READ_ONLY_ARB);
    bool ok = pixels != nullptr;
    if (ok) {
        done->rgb.resize(bytes);
        std::memcpy(done->rgb.data(), pixels, bytes);
        done->width = slot.width;
        done->height = slot.height;
        ok = ext::glUnmapBufferARB(GL_PIXEL_PACK_BUFFER_ARB) == GL_TRUE;
    }
    ext::glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, 0);
    return ok;
}

bool cFrameReadback::fetch_framebuffer(const sSlot& slot, sCapturedFrame* done) {
    GLint reading = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING_EXT, &reading);
    ext::glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, slot.framebuffer);
    // A framebuffer deleted or changed since cannot be read.
    const bool ok =
        ext::glCheckFramebufferStatusEXT(GL_READ_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
    if (ok) {
        done->rgb.resize(std::size_t(slot.width) * std::size_t(slot.height) * 3);
        done->width = slot.width;
        done->height = slot.height;
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, slot.width, slot.height, GL_RGB, GL_UNSIGNED_BYTE, done->rgb.data());
        glPopClientAttrib();
    }
    ext::glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, GLuint(reading));
    return ok;
}
