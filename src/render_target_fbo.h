// A render target on a framebuffer object: a rectangle colour texture and a
// 24-bit depth renderbuffer.
#pragma once

#include "render_target.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

class cRenderTarget_fbo : public iRenderTarget {
public:
    cRenderTarget_fbo(unsigned width, unsigned height);
    ~cRenderTarget_fbo() override;
    cRenderTarget_fbo(const cRenderTarget_fbo&) = delete;
    cRenderTarget_fbo& operator=(const cRenderTarget_fbo&) = delete;

    void init() override;
    void bind() override;
    void unbind() override;
    void bind_texture() const override;
    void unbind_texture() const override;
    void enable_texture() const override;
    void disable_texture() const override;

    unsigned get_width() const override { return m_width; }
    unsigned get_height() const override { return m_height; }
    GLuint get_texture() const { return m_color_tex; }
    GLuint get_framebuffer() const { return m_color_rb; }

    // Checks the framebuffer bound now; on anything but complete, writes the
    // status and this target's description to standard error.
    bool CheckFrameBufferStatus() const;
    // The lines written for a framebuffer status; empty for a complete one.
    static std::string status_text(GLenum status);
    // Size, texture target, pixel type and depth, one line each.
    std::string describe() const;
    // The framebuffer that unbind() goes back to: the window's (0), or an
    // off-screen frame that stands for it.
    static void set_window_framebuffer(GLuint framebuffer) { s_window_framebuffer = framebuffer; }

private:
    unsigned m_width;
    unsigned m_height;
    GLuint m_color_rb = 0; // the framebuffer object
    GLuint m_depth_rb = 0;
    GLuint m_color_tex = 0;
    GLenum m_textarget = GL_TEXTURE_RECTANGLE_ARB;
    GLenum m_type = GL_FLOAT;
    bool m_with_depth = true;
    GLint m_saved_viewport[4] = {-1, -1, -1, -1};
    GLint m_saved_draw_buffer = GL_BACK;
    static GLuint s_window_framebuffer;
};
