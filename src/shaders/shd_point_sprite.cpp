#include "shaders/shd_point_sprite.h"

cShdPointSprite::cShdPointSprite(sGlslContext*& context, eGlslProfile& vertex_profile,
                                 eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("../src/shaders/point_sprite.vert", "../src/shaders/point_sprite.frag");
}

void cShdPointSprite::init_parameters() {
    m_point_size_param = get_named_parameter("point_size");
}

void cShdPointSprite::set_parameter(int, cShaderParameterBase* param) {
    // A carrier of another kind has no float to take; it changes nothing.
    if (auto* var = dynamic_cast<cShaderParameter<float>*>(param))
        m_point_size = var->m_value;
}

void cShdPointSprite::update_parameters() {
    set_parameter1f(m_point_size_param, m_point_size);
}
