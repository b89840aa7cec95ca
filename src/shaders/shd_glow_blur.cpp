#include "shaders/shd_glow_blur.h"

#include "debug.h"

cShdGlowBlur::cShdGlowBlur(sGlslContext*& context, eGlslProfile& vertex_profile,
                           eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("glow_blur.vert", "glow_blur.frag");
}

void cShdGlowBlur::init_parameters() {
    m_sampledir_param = get_named_parameter("sampledir");
}

void cShdGlowBlur::set_parameter(int parm_name, cShaderParameterBase* param) {
    auto* var = dynamic_cast<cShaderParameter<float* const>*>(param);
    VT_ASSERT_MSG(var, "wrong shaderparameter parsed to set_parameter");
    if (parm_name == SP_SAMPLEDIR) {
        m_sampledir[0] = var->m_value[0];
        m_sampledir[1] = var->m_value[1];
    }
}

void cShdGlowBlur::update_parameters() {
    set_parameter2fv(m_sampledir_param, m_sampledir);
}
