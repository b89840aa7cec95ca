#include "shaders/shd_blur3tex.h"

#include "debug.h"

#include <algorithm>

cShdBlur3Tex::cShdBlur3Tex(sGlslContext*& context, eGlslProfile& vertex_profile,
                           eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("blurtex.vert", "blur3tex.frag");
    m_weights[kTaps / 2] = 1.0f;
}

void cShdBlur3Tex::init_parameters() {
    m_sampledir_param = get_named_parameter("sampledir");
    m_weights_param = get_named_parameter("weight");
}

void cShdBlur3Tex::set_parameter(int parm_name, cShaderParameterBase* param) {
    auto* var = dynamic_cast<cShaderParameter<float* const>*>(param);
    VT_ASSERT_MSG(var, "wrong shaderparameter parsed to set_parameter");
    float* const v = var->m_value;
    switch (parm_name) {
    case SP_SAMPLEDIR:
        std::copy(v, v + 2, m_sampledir);
        break;
    case SP_WEIGHTS:
        std::copy(v, v + kTaps, m_weights);
        break;
    default:
        break;
    }
}

void cShdBlur3Tex::update_parameters() {
    set_parameter2fv(m_sampledir_param, m_sampledir);
    set_parameter1fv(m_weights_param, kTaps, m_weights);
}
