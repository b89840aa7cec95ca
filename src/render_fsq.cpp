#include "render_fsq.h"

#include "debug.h"
#include "gl_entry.h"
#include "render_target.h"
#include "texture_manager.h"

namespace {
GLint g_saved_depth_mask = GL_TRUE;
}

void begin_fsq() {
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glGetIntegerv(GL_DEPTH_WRITEMASK, &g_saved_depth_mask);
    glDepthMask(GL_FALSE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void end_fsq() {
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glDepthMask(GLboolean(g_saved_depth_mask));
    glPopAttrib();
}

void draw_quad(float s, float t) {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glTexCoord2f(s, 0.0f);
    glVertex3f(1.0f, 0.0f, 0.0f);
    glTexCoord2f(s, t);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glTexCoord2f(0.0f, t);
    glVertex3f(0.0f, 1.0f, 0.0f);
    glEnd();
}

void draw_unit_quad() {
    draw_quad(1.0f, 1.0f);
}

namespace {
void set_filter(GLint filter) {
    glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MAG_FILTER, filter);
}
} // namespace

bool begin_texel_sampling(const iRenderTarget& target, unsigned scale) {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (target.get_width() != unsigned(viewport[2]) * scale ||
        target.get_height() != unsigned(viewport[3]) * scale)
        return false;
    set_filter(GL_NEAREST);
    return true;
}

void end_texel_sampling(const iRenderTarget& target, bool switched) {
    if (!switched)
        return;
    target.bind_texture();
    set_filter(GL_LINEAR);
}

void render_fsq(const cTexProxy& tex) {
    VT_ASSERT(tex.get_textarget() == GL_TEXTURE_RECTANGLE_ARB);
    begin_fsq();
    tex.enable();
    tex.bind();
    // An image of the viewport's size lands texel on pixel, as a target does.
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const bool texels =
        tex.get_width() == GLuint(viewport[2]) && tex.get_height() == GLuint(viewport[3]);
    GLint min_filter = GL_LINEAR, mag_filter = GL_LINEAR;
    if (texels) {
        glGetTexParameteriv(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MIN_FILTER, &min_filter);
        glGetTexParameteriv(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MAG_FILTER, &mag_filter);
        set_filter(GL_NEAREST);
    }
    draw_quad(float(tex.get_width()), float(tex.get_height()));
    if (texels) {
        glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MIN_FILTER, min_filter);
        glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MAG_FILTER, mag_filter);
    }
    tex.unbind();
    tex.disable();
    end_fsq();
}

void render_fsq(const iRenderTarget& rt) {
    begin_fsq();
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    rt.bind_texture();
    const bool texels = begin_texel_sampling(rt);
    rt.enable_texture();
    draw_quad(float(rt.get_width()), float(rt.get_height()));
    end_texel_sampling(rt, texels);
    rt.unbind_texture();
    rt.disable_texture();
    end_fsq();
}

void render_fsq_dual(const iRenderTarget& a, const iRenderTarget& b) {
    const float sa = float(a.get_width());
    const float ta = float(a.get_height());
    const float sb = float(b.get_width());
    const float tb = float(b.get_height());
    begin_fsq();
    glBegin(GL_QUADS);
    ext::glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 0.0f, 0.0f);
    ext::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    ext::glMultiTexCoord2fARB(GL_TEXTURE0_ARB, sa, 0.0f);
    ext::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, sb, 0.0f);
    glVertex3f(1.0f, 0.0f, 0.0f);
    ext::glMultiTexCoord2fARB(GL_TEXTURE0_ARB, sa, ta);
    ext::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, sb, tb);
    glVertex3f(1.0f, 1.0f, 0.0f);
    ext::glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 0.0f, ta);
    ext::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, 0.0f, tb);
    glVertex3f(0.0f, 1.0f, 0.0f);
    glEnd();
    end_fsq();
}
