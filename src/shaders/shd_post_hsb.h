// Hue, saturation and brightness shift of the rectangle texture on unit 0.
// Callers give the shift as an artist would (hue in degrees, saturation and
// brightness in percent); the shader turns it into what the program uses.
#pragma once

#include "shader_glsl.h"

class cShdPostHSB : public cShader_GLSL {
public:
    enum eParameter {
        SP_IN_HSB = 1, // cShaderParameter<float* const>: hue, saturation, brightness
    };

    cShdPostHSB(sGlslContext*& context, eGlslProfile& vertex_profile,
                eGlslProfile& fragment_profile);
    void init_parameters() override;
    void set_parameter(int parm_name, cShaderParameterBase* param) override;
    void update_parameters() override;
    void unbind() override {}

    // Hue in degrees to the program's rotation in radians (sign reversed);
    // saturation percent to a factor; brightness percent to an offset.
    static float hue_adjust(float hue_degrees);
    static float saturation_adjust(float saturation_percent);
    static float brightness_adjust(float brightness_percent);

private:
    GLint m_h_param = -1;
    GLint m_s_param = -1;
    GLint m_b_param = -1;
    // Until the first set_parameter the shift leaves the picture unchanged.
    float m_h_adjust = 0.0f;
    float m_s_adjust = 1.0f;
    float m_b_adjust = 0.0f;
};
