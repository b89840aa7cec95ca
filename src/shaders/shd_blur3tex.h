// One direction of the glow's blur of the rectangle texture on unit 0:
// kTaps weighted taps (-10 to 10 texels) along "sampledir" ((1, 0)
// horizontal, (0, 1) vertical).
#pragma once

#include "shader_glsl.h"

class cShdBlur3Tex : public cShader_GLSL {
public:
    enum eParameter {
        SP_SAMPLEDIR = 1, // cShaderParameter<float* const>, two floats
        SP_WEIGHTS,       // kTaps floats, taps -10 to 10
    };
    static constexpr int kTaps = 21;

    cShdBlur3Tex(sGlslContext*& context, eGlslProfile& vertex_profile,
                 eGlslProfile& fragment_profile);
    void init_parameters() override;
    void set_parameter(int parm_name, cShaderParameterBase* param) override;
    void update_parameters() override;
    void unbind() override {}

private:
    GLint m_sampledir_param = -1;
    GLint m_weights_param = -1;
    float m_sampledir[2] = {1.0f, 1.0f};
    float m_weights[kTaps] = {};
};
