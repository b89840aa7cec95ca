// Solar flare arcs: two textures (unit 0 the gas, unit 1 the fade gradient)
// that slide along their coordinates with "uvshift" as the flare ages, drawn
// additively.
#pragma once

#include "shader_glsl.h"

class cShdFlare : public cShader_GLSL {
public:
    enum eParameter {
        SP_UVSHIFT = 1, // cShaderParameter<float>; any identifier is taken as this one
    };

    cShdFlare(sGlslContext*& context, eGlslProfile& vertex_profile, eGlslProfile& fragment_profile);
    void init_parameters() override;
    void set_parameter(int parm_name, cShaderParameterBase* param) override;
    void update_parameters() override;
    void unbind() override {}

private:
    GLint m_uvshift_param = -1;
    float m_uvshift = 0.0f;
};
