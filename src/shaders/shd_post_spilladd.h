// Spill-add: the glow on unit 1, raised by "lift", composited over the image
// on unit 0.
#pragma once

#include "shader_glsl.h"

class cShdPostSpillAdd : public cShader_GLSL {
public:
    enum eParameter {
        SP_LIFT = 1, // cShaderParameter<float>, the glow's factor (1 leaves it)
    };

    cShdPostSpillAdd(sGlslContext*& context, eGlslProfile& vertex_profile,
                     eGlslProfile& fragment_profile);
    void init_parameters() override;
    void set_parameter(int parm_name, cShaderParameterBase* param) override;
    void update_parameters() override;
    void unbind() override {}

private:
    GLint m_lift_param = -1;
    float m_lift = 1.0f;
};
