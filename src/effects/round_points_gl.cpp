#include "effects/round_points_gl.h"

#include "effects/attractor_point_buffer_gl.h"
#include "profile_scope.h"
#include "render_fsq.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_point_sprite.h"

#include <cstdlib>
#include <cstring>

namespace {
const char* const kShaderName = "point_sprite_shader";

void set_enabled(GLenum cap, bool on) {
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
}

bool software_renderer() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer)
        return false;
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(renderer, name))
            return true;
    return false;
}
} // namespace

cRoundPoints_GL::eMode cRoundPoints_GL::requested_mode() {
    if (const char* value = std::getenv("VANTREL_POINTS")) {
        if (std::strcmp(value, "sprites") == 0)
            return SPRITES;
        if (std::strcmp(value, "splat") == 0)
            return SPLAT;
        if (std::strcmp(value, "smooth") == 0)
            return SMOOTH;
    }
    return software_renderer() ? SPLAT : SPRITES;
}

cRoundPoints_GL::cRoundPoints_GL(eMode mode) : m_mode(mode) {}

cRoundPoints_GL::~cRoundPoints_GL() {
    if (m_texture)
        glDeleteTextures(1, &m_texture);
}

void cRoundPoints_GL::load() {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    if (!shaders->find_shader(kShaderName))
        shaders->add_shader<cShdPointSprite>(kShaderName);
}

void cRoundPoints_GL::begin() {
    m_splatted = false;
    if (m_mode == SPLAT)
        return;
    // Saved by hand, not on the attribute stack: the caller sets colours
    // between begin and end, and Mesa does not bring back a colour saved by
    // the caller's own glPushAttrib once it was changed inside a nested one.
    m_saved_smooth = glIsEnabled(GL_POINT_SMOOTH);
    m_saved_sprite = glIsEnabled(GL_POINT_SPRITE);
    m_saved_program_size = glIsEnabled(GL_VERTEX_PROGRAM_POINT_SIZE);
    glGetFloatv(GL_POINT_SIZE, &m_saved_size);
    if (m_mode == SMOOTH) {
        glEnable(GL_POINT_SMOOTH);
        return;
    }
    // The program sizes the sprites itself; smoothing would take the
    // driver's own smooth-point path instead.
    glDisable(GL_POINT_SMOOTH);
    glEnable(GL_POINT_SPRITE);
    glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    shaders->bind(kShaderName);
}

void cRoundPoints_GL::set_size(float size) {
    m_size = size;
    if (m_mode == SMOOTH) {
        glPointSize(size);
    } else if (m_mode == SPRITES) {
        cShaderParameter<float> value(size);
        cShaderManager_GLSL::instance()->set_parameter(kShaderName, cShdPointSprite::SP_POINT_SIZE,
                                                       &value);
    }
}

void cRoundPoints_GL::draw(cAttractorPointBuffer_GL& points) {
    if (m_mode == SPLAT)
        splat(points.ring().points().data(), points.drawn_count());
    else
        points.draw();
}

void cRoundPoints_GL::splat(const float* xyz, std::size_t count) {
    cProfileScope scope("points");
    if (!m_splatted) {
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        m_splat.reset(viewport[2], viewport[3]);
        m_splatted = true;
    }
    float projection[16], modelview[16], clip_from_object[16], color[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_CURRENT_COLOR, color);
    multiply_matrices(projection, modelview, clip_from_object);
    m_splat.add(xyz, count, clip_from_object, m_size, color);
}

void cRoundPoints_GL::add_splat_onto_target() {
    cProfileScope scope("points onto target");
    const int w = m_splat.width(), h = m_splat.height();
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT);
    if (!m_texture)
        glGenTextures(1, &m_texture);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, m_texture);
    if (w != m_texture_width || h != m_texture_height) {
        glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     m_splat.pixels().data());
        m_texture_width = w;
        m_texture_height = h;
    } else {
        glTexSubImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE,
                        m_splat.pixels().data());
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    shaders->unbind();
    begin_fsq();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_RECTANGLE_ARB);
    draw_quad(float(w), float(h));
    end_fsq();
    shaders->pop_shader();
    glPopAttrib();
}

void cRoundPoints_GL::end() {
    if (m_mode == SPLAT) {
        if (m_splatted)
            add_splat_onto_target();
        return;
    }
    if (m_mode == SPRITES)
        cShaderManager_GLSL::instance()->pop_shader();
    set_enabled(GL_POINT_SMOOTH, m_saved_smooth);
    set_enabled(GL_POINT_SPRITE, m_saved_sprite);
    set_enabled(GL_VERTEX_PROGRAM_POINT_SIZE, m_saved_program_size);
    glPointSize(m_saved_size);
}
