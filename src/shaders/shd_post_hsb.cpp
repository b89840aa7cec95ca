#include "shaders/shd_post_hsb.h"

#include "debug.h"

#include <iostream>

namespace {
const double kPi = 3.14159265358979323846;
}

cShdPostHSB::cShdPostHSB(sGlslContext*& context, eGlslProfile& vertex_profile,
                         eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("post_hsb.vert", "post_hsb.frag");
}

float cShdPostHSB::hue_adjust(float hue_degrees) {
    return float(double(hue_degrees) / -180.0 * kPi);
}

float cShdPostHSB::saturation_adjust(float saturation_percent) {
    return float(double(saturation_percent) / 100.0 + 1.0);
}

float cShdPostHSB::brightness_adjust(float brightness_percent) {
    return float(double(brightness_percent) / 100.0);
}

void cShdPostHSB::init_parameters() {
    m_h_param = get_named_parameter("H_adjust");
    m_s_param = get_named_parameter("S_adjust");
    m_b_param = get_named_parameter("B_adjust");
    if (m_h_param < 0 || m_s_param < 0 || m_b_param < 0)
        std::cerr << "## ERROR: unable to get parameters in "
                  << "cShdPostHSB::init_parameters" << std::endl;
}

void cShdPostHSB::set_parameter(int parm_name, cShaderParameterBase* param) {
    auto* var = dynamic_cast<cShaderParameter<float* const>*>(param);
    // clang-format off
    VT_ASSERT_MSG(var && (parm_name==SP_IN_HSB), "wrong shaderparameter parsed to set_paramter");
    // clang-format on
    m_h_adjust = hue_adjust(var->m_value[0]);
    m_s_adjust = saturation_adjust(var->m_value[1]);
    m_b_adjust = brightness_adjust(var->m_value[2]);
}

void cShdPostHSB::update_parameters() {
    set_parameter1f(m_h_param, m_h_adjust);
    set_parameter1f(m_s_param, m_s_adjust);
    set_parameter1f(m_b_param, m_b_adjust);
}
