#include "shaders/shd_post_final.h"

#include "debug.h"
#include "shaders/shd_post_hsb.h"

cShdPostFinal::cShdPostFinal(sGlslContext*& context, eGlslProfile& vertex_profile,
                             eGlslProfile& fragment_profile, const char* vertex_file,
                             const char* fragment_file)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files(vertex_file, fragment_file);
}

void cShdPostFinal::init_parameters() {
    // A program without a stage has none of its uniforms: their locations
    // stay -1, which GL ignores.
    m_lift_param = get_named_parameter("lift");
    const char* const hsb[3] = {"H_adjust", "S_adjust", "B_adjust"};
    for (int k = 0; k < 3; ++k)
        m_hsb_params[k] = get_named_parameter(hsb[k]);
    const char* const levels[5] = {"inBlack", "inWhite", "Gamma", "outBlack", "outWhite"};
    for (int k = 0; k < 5; ++k)
        m_levels_params[k] = get_named_parameter(levels[k]);
}

void cShdPostFinal::set_parameter(int parm_name, cShaderParameterBase* param) {
    if (parm_name == SP_LIFT) {
        auto* var = dynamic_cast<cShaderParameter<float>*>(param);
        VT_ASSERT_MSG(var, "wrong shaderparameter parsed to set_parameter");
        m_lift = var->m_value;
        return;
    }
    auto* values = dynamic_cast<cShaderParameter<float* const>*>(param);
    VT_ASSERT_MSG(values, "wrong shaderparameter parsed to set_parameter");
    if (parm_name == SP_IN_HSB) {
        m_hsb[0] = cShdPostHSB::hue_adjust(values->m_value[0]);
        m_hsb[1] = cShdPostHSB::saturation_adjust(values->m_value[1]);
        m_hsb[2] = cShdPostHSB::brightness_adjust(values->m_value[2]);
    } else {
        VT_ASSERT(parm_name == SP_IN_LEVELS);
        for (int k = 0; k < 5; ++k)
            m_levels[k] = values->m_value[k];
    }
}

void cShdPostFinal::update_parameters() {
    set_parameter1f(m_lift_param, m_lift);
    for (int k = 0; k < 3; ++k)
        set_parameter1f(m_hsb_params[k], m_hsb[k]);
    for (int k = 0; k < 5; ++k)
        set_parameter1f(m_levels_params[k], m_levels[k]);
}
