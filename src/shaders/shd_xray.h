// X-ray shading: surfaces glow at their silhouette and fade where they face
// the viewer; "inv" = 1 turns that inside out (bright cores, dark rims).
#pragma once

#include "shader_glsl.h"

class cShdXray : public cShader_GLSL {
public:
    enum eParameter {
        SP_INV = 1, // cShaderParameter<float>
    };

    cShdXray(sGlslContext*& context, eGlslProfile& vertex_profile, eGlslProfile& fragment_profile);
    void init_parameters() override;
    // Anything but a float for SP_INV is a programming error and throws.
    void set_parameter(int parm_name, cShaderParameterBase* param) override;
    void update_parameters() override;
    void unbind() override {}

private:
    GLint m_inv_param = -1;
    float m_inv = 0.0f;
};
