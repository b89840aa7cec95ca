#include "effects/round_points_sprites.h"

#include "display_settings.h"
#include "effects/point_source.h"
#include "gl_entry.h"
#include "profile_scope.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_point_sprite.h"

#include <algorithm>

namespace {
const char* const kShaderName = "point_sprite_shader";

void set_enabled(GLenum cap, bool on) {
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
}
} // namespace

cRoundPoints_sprites::cRoundPoints_sprites() {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    if (!shaders->find_shader(kShaderName))
        shaders->add_shader<cShdPointSprite>(kShaderName);
}

void cRoundPoints_sprites::begin() {
    m_saved_smooth = glIsEnabled(GL_POINT_SMOOTH);
    m_saved_sprite = glIsEnabled(GL_POINT_SPRITE);
    m_saved_program_size = glIsEnabled(GL_VERTEX_PROGRAM_POINT_SIZE);
    // The program sizes the sprites itself; smoothing would take the
    // driver's own smooth-point path instead.
    glDisable(GL_POINT_SMOOTH);
    glEnable(GL_POINT_SPRITE);
    glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    shaders->bind(kShaderName);
}

void cRoundPoints_sprites::set_size(float size) {
    // The two-pixel floor holds at 1024 x 640 and scales with the picture.
    cShaderParameter<float> value(std::max(size, 2.0f) *
                                  cDisplaySettings::instance()->pixel_scale());
    cShaderManager_GLSL::instance()->set_parameter(kShaderName, cShdPointSprite::SP_POINT_SIZE,
                                                   &value);
}

void cRoundPoints_sprites::draw(iPointSource& points) {
    cProfileScope scope("points");
    points.draw_from_buffer();
}

void cRoundPoints_sprites::end() {
    cShaderManager_GLSL::instance()->pop_shader();
    set_enabled(GL_POINT_SMOOTH, m_saved_smooth);
    set_enabled(GL_POINT_SPRITE, m_saved_sprite);
    set_enabled(GL_VERTEX_PROGRAM_POINT_SIZE, m_saved_program_size);
}
