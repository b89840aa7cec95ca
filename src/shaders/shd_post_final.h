// A picture's post passes fused into one program: the glow spilled over it,
// hue, saturation and brightness, levels, colour correction, as each
// program has them. Each stage's result is kept as an 8-bit target would
// keep it, so the picture is the one the separate passes give, to the byte,
// at a fraction of their cost on a software rasteriser. The picture is on
// unit 0; the glow or the lookup on unit 1.
#pragma once

#include "shader_glsl.h"

class cShdPostFinal : public cShader_GLSL {
public:
    enum eParameter {
        SP_LIFT = 1,      // cShaderParameter<float>, as the spill-add shader's
        SP_IN_HSB = 2,    // cShaderParameter<float* const>, as the HSB shader's
        SP_IN_LEVELS = 3, // cShaderParameter<float* const>, as the levels shader's
    };

    void init_parameters() override;
    void set_parameter(int parm_name, cShaderParameterBase* param) override;
    void update_parameters() override;
    void unbind() override {}

protected:
    cShdPostFinal(sGlslContext*& context, eGlslProfile& vertex_profile,
                  eGlslProfile& fragment_profile, const char* vertex_file,
                  const char* fragment_file);

private:
    GLint m_lift_param = -1;
    GLint m_hsb_params[3] = {-1, -1, -1};
    GLint m_levels_params[5] = {-1, -1, -1, -1, -1};
    float m_lift = 1.0f;
    float m_hsb[3] = {0.0f, 1.0f, 0.0f}; // the program's values: leaves the picture
    float m_levels[5] = {0.0f, 255.0f, 1.0f, 0.0f, 255.0f};
};

// Spill-add, then levels.
class cShdPostSpillLevels : public cShdPostFinal {
public:
    cShdPostSpillLevels(sGlslContext*& context, eGlslProfile& vertex_profile,
                        eGlslProfile& fragment_profile)
        : cShdPostFinal(context, vertex_profile, fragment_profile, "post_spilladd.vert",
                        "post_spill_levels.frag") {}
};

// Spill-add, then hue, saturation and brightness, then levels.
class cShdPostSpillHsbLevels : public cShdPostFinal {
public:
    cShdPostSpillHsbLevels(sGlslContext*& context, eGlslProfile& vertex_profile,
                           eGlslProfile& fragment_profile)
        : cShdPostFinal(context, vertex_profile, fragment_profile, "post_spilladd.vert",
                        "post_spill_hsb_levels.frag") {}
};

// Levels, then colour correction.
class cShdPostLevelsCorrection : public cShdPostFinal {
public:
    cShdPostLevelsCorrection(sGlslContext*& context, eGlslProfile& vertex_profile,
                             eGlslProfile& fragment_profile)
        : cShdPostFinal(context, vertex_profile, fragment_profile, "post_correction.vert",
                        "post_levels_correction.frag") {}
};
