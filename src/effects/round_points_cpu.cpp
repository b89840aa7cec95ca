#include "effects/round_points_cpu.h"

#include "debug.h"
#include "display_settings.h"
#include "effects/point_source.h"
#include "profile_scope.h"
#include "render_fsq.h"
#include "shader_manager_glsl.h"

#include <algorithm>

namespace {
GLint gl_int(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}
} // namespace

cRoundPoints_cpu::~cRoundPoints_cpu() {
    if (m_texture)
        glDeleteTextures(1, &m_texture);
}

void cRoundPoints_cpu::begin() {
    // What the image added at end() cannot do: anything but adding
    // alpha-weighted colour to every pixel the points cover.
    VT_ASSERT_MSG(
        glIsEnabled(GL_BLEND) && gl_int(GL_BLEND_SRC_RGB) == GL_SRC_ALPHA &&
            gl_int(GL_BLEND_DST_RGB) == GL_ONE && gl_int(GL_BLEND_SRC_ALPHA) == GL_SRC_ALPHA &&
            gl_int(GL_BLEND_DST_ALPHA) == GL_ONE && gl_int(GL_BLEND_EQUATION_RGB) == GL_FUNC_ADD &&
            gl_int(GL_BLEND_EQUATION_ALPHA) == GL_FUNC_ADD,
        "cRoundPoints_cpu: blending other than source alpha, one");
    GLboolean mask[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    VT_ASSERT_MSG(!glIsEnabled(GL_SCISSOR_TEST) && !glIsEnabled(GL_STENCIL_TEST) &&
                      !glIsEnabled(GL_COLOR_LOGIC_OP) && mask[0] && mask[1] && mask[2] && mask[3],
                  "cRoundPoints_cpu: scissor, stencil, logic operation or colour mask");
    VT_ASSERT_MSG(!glIsEnabled(GL_ALPHA_TEST) || gl_int(GL_ALPHA_TEST_FUNC) == GL_ALWAYS,
                  "cRoundPoints_cpu: alpha test");
    m_depth_test = glIsEnabled(GL_DEPTH_TEST) && gl_int(GL_DEPTH_BITS) > 0;
    if (m_depth_test) {
        GLboolean writes = GL_TRUE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &writes);
        VT_ASSERT_MSG(!writes, "cRoundPoints_cpu: depth writes");
    }
    m_drawn = false;
}

void cRoundPoints_cpu::set_size(float size) {
    // The two-pixel floor holds at 1024 x 640 and scales with the picture.
    m_size = std::max(size, 2.0f) * cDisplaySettings::instance()->pixel_scale();
}

void cRoundPoints_cpu::start_image() {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    m_splat.reset(viewport[2], viewport[3]);
    m_drawn = true;
    if (!m_depth_test)
        return;
    cProfileScope scope("depth read-back");
    m_depth_values.resize(std::size_t(m_splat.width()) * std::size_t(m_splat.height()));
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glReadPixels(viewport[0], viewport[1], viewport[2], viewport[3], GL_DEPTH_COMPONENT,
                 GL_UNSIGNED_INT, m_depth_values.data());
    glPopClientAttrib();
    GLfloat range[2] = {0.0f, 1.0f};
    glGetFloatv(GL_DEPTH_RANGE, range);
    m_depth.values = m_depth_values.data();
    m_depth.bits = std::min(gl_int(GL_DEPTH_BITS), 32);
    m_depth.func = sSplatDepthTest::eFunc(gl_int(GL_DEPTH_FUNC) - GL_NEVER);
    m_depth.range_near = range[0];
    m_depth.range_far = range[1];
}

void cRoundPoints_cpu::draw(iPointSource& points) {
    if (!m_drawn)
        start_image();
    cProfileScope scope("points");
    float projection[16], modelview[16], clip_from_object[16], color[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_CURRENT_COLOR, color);
    // A point scaled below the floor is drawn at two pixels with the light
    // of its own area.
    if (m_size < 2.0f)
        color[3] *= m_size * m_size / 4.0f;
    multiply_matrices(projection, modelview, clip_from_object);
    m_splat.add(points.positions(), points.point_count(), clip_from_object, m_size, color,
                m_depth_test ? &m_depth : nullptr);
}

void cRoundPoints_cpu::add_image_onto_target() {
    cProfileScope scope("points onto target");
    // Only the rectangle the points touched is carried over and added.
    const cPointSplat::sRect r = m_splat.touched();
    if (r.x0 >= r.x1 || r.y0 >= r.y1)
        return;
    const int w = m_splat.width(), h = m_splat.height();
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    if (!m_texture)
        glGenTextures(1, &m_texture);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, m_texture);
    if (w != m_texture_width || h != m_texture_height) {
        glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
        m_texture_width = w;
        m_texture_height = h;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, w);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, r.x0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, r.y0);
    glTexSubImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0, GL_RGBA,
                    GL_UNSIGNED_BYTE, m_splat.pixels().data());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    shaders->unbind();
    // The quad is drawn without depth test or depth writes, over the
    // rectangle's pixels, each of which samples its own texel.
    begin_fsq();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_RECTANGLE_ARB);
    const float x0 = float(r.x0), y0 = float(r.y0), x1 = float(r.x1), y1 = float(r.y1);
    glBegin(GL_QUADS);
    glTexCoord2f(x0, y0);
    glVertex2f(x0 / float(w), y0 / float(h));
    glTexCoord2f(x1, y0);
    glVertex2f(x1 / float(w), y0 / float(h));
    glTexCoord2f(x1, y1);
    glVertex2f(x1 / float(w), y1 / float(h));
    glTexCoord2f(x0, y1);
    glVertex2f(x0 / float(w), y1 / float(h));
    glEnd();
    end_fsq();
    shaders->pop_shader();
    glPopClientAttrib();
    glPopAttrib();
}

void cRoundPoints_cpu::end() {
    if (m_drawn)
        add_image_onto_target();
    m_drawn = false;
}
