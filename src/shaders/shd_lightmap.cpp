#include "shaders/shd_lightmap.h"

#include "debug.h"

cShdLightmap::cShdLightmap(sGlslContext*& context, eGlslProfile& vertex_profile,
                           eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("../src/shaders/lightmap.vert", "../src/shaders/lightmap.frag");
}

void cShdLightmap::init_parameters() {
    m_blend_param = get_named_parameter("blend");
}

void cShdLightmap::set_parameter(int parm_name, cShaderParameterBase* param) {
    VT_ASSERT(parm_name == SP_BLEND);
    if (auto* var = dynamic_cast<cShaderParameter<float>*>(param))
        m_blend = var->m_value;
}

void cShdLightmap::update_parameters() {
    set_parameter1f(m_blend_param, m_blend);
}
