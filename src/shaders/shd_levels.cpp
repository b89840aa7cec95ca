#include "shaders/shd_levels.h"

#include "debug.h"

#include <iostream>

cShdLevels::cShdLevels(sGlslContext*& context, eGlslProfile& vertex_profile,
                       eGlslProfile& fragment_profile)
    : cShdLevels(context, vertex_profile, fragment_profile, "post_levels.frag") {}

cShdLevels::cShdLevels(sGlslContext*& context, eGlslProfile& vertex_profile,
                       eGlslProfile& fragment_profile, const char* fragment_file)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("post_levels.vert", fragment_file);
    m_in_black = 200.0f;
    m_in_white = 255.0f;
    m_gamma = 1.0f;
    m_out_black = 0.0f;
    m_out_white = 255.0f;
}

void cShdLevels::init_parameters() {
    m_in_black_param = get_named_parameter("inBlack");
    m_in_white_param = get_named_parameter("inWhite");
    m_gamma_param = get_named_parameter("Gamma");
    m_out_black_param = get_named_parameter("outBlack");
    m_out_white_param = get_named_parameter("outWhite");
    if (m_in_black_param < 0 || m_in_white_param < 0 || m_gamma_param < 0 ||
        m_out_black_param < 0 || m_out_white_param < 0)
        std::cerr << "## ERROR: unable to get parameters in cShdLevels::init_parameters()"
                  << std::endl;
}

void cShdLevels::set_parameter(int parm_name, cShaderParameterBase* param) {
    if (parm_name == SP_IN_LEVELS) {
        auto* varlist = dynamic_cast<cShaderParameter<float* const>*>(param);
        VT_ASSERT_MSG(varlist, "input mismatch");
        m_in_black = varlist->m_value[0];
        m_in_white = varlist->m_value[1];
        m_gamma = varlist->m_value[2];
        m_out_black = varlist->m_value[3];
        m_out_white = varlist->m_value[4];
        return;
    }
    auto* var = dynamic_cast<cShaderParameter<float>*>(param);
    VT_ASSERT_MSG(var, "wrong shaderparameter parsed to set_paramter");
    switch (parm_name) {
    case SP_IN_BLACK:
        m_in_black = var->m_value;
        break;
    case SP_IN_WHITE:
        m_in_white = var->m_value;
        break;
    case SP_GAMMA:
        m_gamma = var->m_value;
        break;
    case SP_OUT_BLACK:
        m_out_black = var->m_value;
        break;
    case SP_OUT_WHITE:
        m_out_white = var->m_value;
        break;
    default:
        break;
    }
}

void cShdLevels::update_parameters() {
    set_parameter1f(m_in_black_param, m_in_black);
    set_parameter1f(m_in_white_param, m_in_white);
    set_parameter1f(m_gamma_param, m_gamma);
    set_parameter1f(m_out_black_param, m_out_black);
    set_parameter1f(m_out_white_param, m_out_white);
}
