#include "render_target_fbo.h"

#include "debug.h"
#include "gl_entry.h"
#include "gl_setup.h"

#include <iostream>
#include <sstream>

// Dropped from later versions of the extension, so newer headers lack it;
// old drivers may still return it.
#ifndef GL_FRAMEBUFFER_INCOMPLETE_DUPLICATE_ATTACHMENT_EXT
#define GL_FRAMEBUFFER_INCOMPLETE_DUPLICATE_ATTACHMENT_EXT 0x8CD8
#endif

GLuint cRenderTarget_fbo::s_window_framebuffer = 0;

cRenderTarget_fbo::cRenderTarget_fbo(unsigned width, unsigned height)
    : m_width(width), m_height(height) {}

cRenderTarget_fbo::~cRenderTarget_fbo() {
    if (s_window_framebuffer == m_color_rb)
        s_window_framebuffer = 0;
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, s_window_framebuffer);
    glBindTexture(m_textarget, 0);
    ext::glDeleteFramebuffersEXT(1, &m_color_rb);
    ext::glDeleteRenderbuffersEXT(1, &m_depth_rb);
    glDeleteTextures(1, &m_color_tex);
}

void cRenderTarget_fbo::init() {
    glGenTextures(1, &m_color_tex);
    glBindTexture(m_textarget, m_color_tex);
    glTexParameteri(m_textarget, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(m_textarget, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(m_textarget, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(m_textarget, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(m_textarget, 0, GL_RGBA8, m_width, m_height, 0, GL_BGRA, m_type, nullptr);

    ext::glGenFramebuffersEXT(1, &m_color_rb);
    ext::glGenRenderbuffersEXT(1, &m_depth_rb);
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, m_color_rb);
    ext::glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, m_textarget,
                                   m_color_tex, 0);
    VT_ASSERT(CheckFrameBufferStatus());

    if (m_with_depth) {
        ext::glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, m_depth_rb);
        ext::glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, m_width, m_height);
        ext::glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT,
                                          GL_RENDERBUFFER_EXT, m_depth_rb);
        VT_ASSERT(CheckFrameBufferStatus());
    }
    report_gl_error("cRenderTarget_fbo::init");
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, s_window_framebuffer);
    glBindTexture(m_textarget, 0);
}

void cRenderTarget_fbo::bind() {
    using ext::glIsFramebufferEXT;
    glGetIntegerv(GL_VIEWPORT, m_saved_viewport);
    glViewport(0, 0, m_width, m_height);
    // clang-format off
    VT_ASSERT(glIsFramebufferEXT( m_color_rb));
    // clang-format on
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, m_color_rb);
    glGetIntegerv(GL_DRAW_BUFFER, &m_saved_draw_buffer);
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
}

void cRenderTarget_fbo::unbind() {
    using ext::glIsFramebufferEXT;
    // clang-format off
    VT_ASSERT(glIsFramebufferEXT( m_color_rb ));
    // clang-format on
    glDrawBuffer(m_saved_draw_buffer);
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, s_window_framebuffer);
    glViewport(m_saved_viewport[0], m_saved_viewport[1], m_saved_viewport[2], m_saved_viewport[3]);
}

void cRenderTarget_fbo::bind_texture() const {
    glBindTexture(m_textarget, m_color_tex);
}

void cRenderTarget_fbo::unbind_texture() const {
    glBindTexture(m_textarget, 0);
}

void cRenderTarget_fbo::enable_texture() const {
    glEnable(m_textarget);
}

void cRenderTarget_fbo::disable_texture() const {
    glDisable(m_textarget);
}

std::string cRenderTarget_fbo::status_text(GLenum status) {
    switch (status) {
    case GL_FRAMEBUFFER_COMPLETE_EXT:
        return "";
    case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT_EXT:
        return "FRAMEBUFFER_INCOMPLETE_ATTACHMENT\n";
    case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT_EXT:
        return "GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT_EXT\n";
    case GL_FRAMEBUFFER_INCOMPLETE_DUPLICATE_ATTACHMENT_EXT:
        return "GL_FRAMEBUFFER_INCOMPLETE_DUPLICATE_ATTACHMENT_EXT\n";
    case GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT:
        return "GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT\n";
    case GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT:
        return "GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT\n";
    case GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER_EXT:
        return "GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER_EXT\n";
    case GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER_EXT:
        return "GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER_EXT\n";
    case GL_FRAMEBUFFER_UNSUPPORTED_EXT:
        return "## ERROR, recieved GL_FRAMEBUFFER_UNSUPPORTED_EXT\n"
               "(if you programmed this, you should probably choose a different fbo-format!\n"
               "... if not, your graphics-card probably just plain sucks)\n";
    default:
        return "## ERROR, FBO error\n";
    }
}

std::string cRenderTarget_fbo::describe() const {
    std::ostringstream text;
    text << "width x height = (" << m_width << " x " << m_height << ")\n"
         << "textarget: " << m_textarget << "\n"
         << "type: " << m_type << "\n"
         << "with" << (m_with_depth ? "" : "out") << " depth\n";
    return text.str();
}

bool cRenderTarget_fbo::CheckFrameBufferStatus() const {
    const GLenum status = ext::glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    if (status == GL_FRAMEBUFFER_COMPLETE_EXT)
        return true;
    std::cerr << status_text(status) << describe() << std::flush;
    return false;
}
