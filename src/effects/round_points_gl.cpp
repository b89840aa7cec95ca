#include "effects/round_points_gl.h"

#include "gl_entry.h"
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
} // namespace

bool cRoundPoints_GL::fixed_function_requested() {
    const char* value = std::getenv("VANTREL_SMOOTH_POINTS");
    return value && *value && std::strcmp(value, "0") != 0;
}

cRoundPoints_GL::cRoundPoints_GL(bool fixed_function) : m_fixed_function(fixed_function) {}

void cRoundPoints_GL::load() {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    if (!shaders->find_shader(kShaderName))
        shaders->add_shader<cShdPointSprite>(kShaderName);
}

void cRoundPoints_GL::begin() {
    // Saved by hand, not on the attribute stack: the caller sets colours
    // between begin and end, and Mesa does not bring back a colour saved by
    // the caller's own glPushAttrib once it was changed inside a nested one.
    m_saved_smooth = glIsEnabled(GL_POINT_SMOOTH);
    m_saved_sprite = glIsEnabled(GL_POINT_SPRITE);
    m_saved_program_size = glIsEnabled(GL_VERTEX_PROGRAM_POINT_SIZE);
    glGetFloatv(GL_POINT_SIZE, &m_saved_size);
    if (m_fixed_function) {
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
    if (m_fixed_function) {
        glPointSize(size);
        return;
    }
    cShaderParameter<float> value(size);
    cShaderManager_GLSL::instance()->set_parameter(kShaderName, cShdPointSprite::SP_POINT_SIZE,
                                                   &value);
}

void cRoundPoints_GL::end() {
    if (!m_fixed_function)
        cShaderManager_GLSL::instance()->pop_shader();
    set_enabled(GL_POINT_SMOOTH, m_saved_smooth);
    set_enabled(GL_POINT_SPRITE, m_saved_sprite);
    set_enabled(GL_VERTEX_PROGRAM_POINT_SIZE, m_saved_program_size);
    glPointSize(m_saved_size);
}
