// Levels of the rectangle texture on unit 0, on a 0 to 255 scale: input
// black and white, gamma, output black and white. The values reach the
// program unchanged.
#pragma once

#include "shader_glsl.h"

class cShdLevels : public cShader_GLSL {
public:
    enum eParameter {
        SP_IN_LEVELS = 1, // cShaderParameter<float* const>: all five, in the order below
        SP_IN_BLACK = 2,  // the rest: cShaderParameter<float>, one value each
        SP_IN_WHITE = 3,
        SP_GAMMA = 4,
        SP_OUT_BLACK = 5,
        SP_OUT_WHITE = 6,
    };

    cShdLevels(sGlslContext*& context, eGlslProfile& vertex_profile,
               eGlslProfile& fragment_profile);
    void init_parameters() override;
    void set_parameter(int parm_name, cShaderParameterBase* param) override;
    void update_parameters() override;
    void unbind() override {}

protected:
    // The same levels in another fragment program (post_levels.glsl's).
    cShdLevels(sGlslContext*& context, eGlslProfile& vertex_profile, eGlslProfile& fragment_profile,
               const char* fragment_file);

private:
    GLint m_in_black_param = -1;
    GLint m_in_white_param = -1;
    GLint m_gamma_param = -1;
    GLint m_out_black_param = -1;
    GLint m_out_white_param = -1;
    float m_in_black = 200.0f;
    float m_in_white = 255.0f;
    float m_gamma = 1.0f;
    float m_out_black = 0.0f;
    float m_out_white = 255.0f;
};

// The glow's bright pass into half the picture's size: the levels of each
// 2 x 2 block of texels, averaged (glow_bright_half.frag).
class cShdBrightHalf : public cShdLevels {
public:
    cShdBrightHalf(sGlslContext*& context, eGlslProfile& vertex_profile,
                   eGlslProfile& fragment_profile)
        : cShdLevels(context, vertex_profile, fragment_profile, "glow_bright_half.frag") {}
};
