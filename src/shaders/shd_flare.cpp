#include "shaders/shd_flare.h"

cShdFlare::cShdFlare(sGlslContext*& context, eGlslProfile& vertex_profile,
                     eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("../src/shaders/flare.vert", "../src/shaders/flare.frag");
}

void cShdFlare::init_parameters() {
    m_uvshift_param = get_named_parameter("uvshift");
}

void cShdFlare::set_parameter(int, cShaderParameterBase* param) {
    // A carrier of another kind has no float to take; it changes nothing.
    if (auto* var = dynamic_cast<cShaderParameter<float>*>(param))
        m_uvshift = var->m_value;
}

void cShdFlare::update_parameters() {
    set_parameter1f(m_uvshift_param, m_uvshift);
}
