// Baked lighting: two lightmaps (unit 0 with the light off, unit 1 with it
// on, both read at the texture coordinates of unit 0) mixed by "blend", the
// light-on weight.
#pragma once

#include "shader_glsl.h"

class cShdLightmap : public cShader_GLSL {
public:
    enum eParameter {
        SP_BLEND = 1, // cShaderParameter<float>
    };

    cShdLightmap(sGlslContext*& context, eGlslProfile& vertex_profile,
                 eGlslProfile& fragment_profile);
    void init_parameters() override;
    void set_parameter(int parm_name, cShaderParameterBase* param) override;
    void update_parameters() override;
    void unbind() override {}

private:
    GLint m_blend_param = -1;
    float m_blend = 0.0f; // light off until the scene says otherwise
};
