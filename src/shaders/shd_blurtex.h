// One direction of the glow's blur of the rectangle texture on unit 0: 31
// weighted taps along "sampledir" (output texels, (1, 0) horizontal, (0, 1)
// vertical), at output positions times "scale" in the input, each fetch
// through the levels "level" (colour * level[0] + level[1], clamped).
#pragma once

#include "shader_glsl.h"

class cShdBlurTex : public cShader_GLSL {
public:
    enum eParameter {
        SP_SAMPLEDIR = 1, // cShaderParameter<float* const>, two floats
        SP_SCALE,         // two floats, input texels per output texel
        SP_LEVEL,         // two floats, factor and offset
        SP_WEIGHTS,       // kTaps floats, taps -15 to 15
    };
    static constexpr int kTaps = 31;

    cShdBlurTex(sGlslContext*& context, eGlslProfile& vertex_profile,
                eGlslProfile& fragment_profile);
    void init_parameters() override;
    void set_parameter(int parm_name, cShaderParameterBase* param) override;
    void update_parameters() override;
    void unbind() override {}

private:
    GLint m_sampledir_param = -1;
    GLint m_scale_param = -1;
    GLint m_level_param = -1;
    GLint m_weights_param = -1;
    float m_sampledir[2] = {1.0f, 1.0f};
    float m_scale[2] = {1.0f, 1.0f};
    float m_level[2] = {1.0f, 0.0f};
    float m_weights[kTaps] = {};
};
