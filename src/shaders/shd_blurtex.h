// Separable Gaussian blur of the rectangle texture on unit 0 along one
// direction, given in texels as "sampledir": (1, 0) horizontal, (0, 1)
// vertical.
#pragma once

#include "shader_glsl.h"

class cShdBlurTex : public cShader_GLSL {
public:
    enum eParameter {
        SP_SAMPLEDIR = 1, // cShaderParameter<float* const>, two floats
    };

    cShdBlurTex(sGlslContext*& context, eGlslProfile& vertex_profile,
                eGlslProfile& fragment_profile);
    void init_parameters() override;
    void set_parameter(int parm_name, cShaderParameterBase* param) override;
    void update_parameters() override;
    void unbind() override {}

private:
    GLint m_sampledir_param = -1;
    float m_sampledir[2] = {1.0f, 1.0f};
};
