#include "shaders/shd_blur3tex.h"

#include "debug.h"

cShdBlur3Tex::cShdBlur3Tex(sGlslContext*& context, eGlslProfile& vertex_profile,
                           eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("blur3tex.vert", "blur3tex.frag");
}

void cShdBlur3Tex::init_parameters() {
    m_sampledir_param = get_named_parameter("sampledir");
}

void cShdBlur3Tex::set_parameter(int parm_name, cShaderParameterBase* param) {
    auto* var = dynamic_cast<cShaderParameter<float* const>*>(param);
    VT_ASSERT_MSG(var, "wrong shaderparameter parsed to set_parameter");
    if (parm_name == SP_SAMPLEDIR) {
        m_sampledir[0] = var->m_value[0];
        m_sampledir[1] = var->m_value[1];
    }
}

void cShdBlur3Tex::update_parameters() {
    set_parameter2fv(m_sampledir_param, m_sampledir);
}
