#include "shaders/shd_post_spilladd.h"

#include "debug.h"

cShdPostSpillAdd::cShdPostSpillAdd(sGlslContext*& context, eGlslProfile& vertex_profile,
                                   eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("post_spilladd.vert", "post_spilladd.frag");
}

void cShdPostSpillAdd::init_parameters() {
    m_lift_param = get_named_parameter("lift");
}

void cShdPostSpillAdd::set_parameter(int parm_name, cShaderParameterBase* param) {
    auto* var = dynamic_cast<cShaderParameter<float>*>(param);
    VT_ASSERT_MSG(var, "wrong shaderparameter parsed to set_parameter");
    if (parm_name == SP_LIFT)
        m_lift = var->m_value;
}

void cShdPostSpillAdd::update_parameters() {
    set_parameter1f(m_lift_param, m_lift);
}
