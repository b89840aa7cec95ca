#include "shaders/shd_xray.h"

#include <stdexcept>

cShdXray::cShdXray(sGlslContext*& context, eGlslProfile& vertex_profile,
                   eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("../src/shaders/xray.vert", "../src/shaders/xray.frag");
    m_inv = 0.0f;
}

void cShdXray::init_parameters() {
    m_inv_param = get_named_parameter("inv");
}

void cShdXray::set_parameter(int parm_name, cShaderParameterBase* param) {
    auto* var = dynamic_cast<cShaderParameter<float>*>(param);
    if (!var || parm_name != SP_INV)
        throw std::invalid_argument("cShdXray::set_parameter: wrong parameter or carrier");
    m_inv = var->m_value;
}

void cShdXray::update_parameters() {
    set_parameter1f(m_inv_param, m_inv);
}
