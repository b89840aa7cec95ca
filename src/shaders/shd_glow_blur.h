// One direction of the glow's blur of the rectangle texture on unit 0:
// kTaps weighted taps (-6 to 6 texels) along "sampledir" ((1, 0)
// horizontal, (0, 1) vertical). The weights come with the vertices, in
// texture coordinate sets 1 to kWeightSets, four to a set.
#pragma once

#include "shader_glsl.h"

class cShdGlowBlur : public cShader_GLSL {
public:
    enum eParameter {
        SP_SAMPLEDIR = 1, // cShaderParameter<float* const>, two floats
    };
    static constexpr int kTaps = 13;
    static constexpr int kWeightSets = (kTaps + 3) / 4;

    cShdGlowBlur(sGlslContext*& context, eGlslProfile& vertex_profile,
                 eGlslProfile& fragment_profile);
    void init_parameters() override;
    void set_parameter(int parm_name, cShaderParameterBase* param) override;
    void update_parameters() override;
    void unbind() override {}

private:
    GLint m_sampledir_param = -1;
    float m_sampledir[2] = {1.0f, 1.0f};
};
