// Round points as point sprites: the fragment program takes each fragment's
// coverage from its distance to the point's centre. The caller enables
// GL_POINT_SPRITE and GL_VERTEX_PROGRAM_POINT_SIZE while it draws.
#pragma once

#include "shader_glsl.h"

class cShdPointSprite : public cShader_GLSL {
public:
    enum eParameter {
        SP_POINT_SIZE = 1, // cShaderParameter<float>, in pixels; any identifier is taken as this
    };

    cShdPointSprite(sGlslContext*& context, eGlslProfile& vertex_profile,
                    eGlslProfile& fragment_profile);
    void init_parameters() override;
    void set_parameter(int parm_name, cShaderParameterBase* param) override;
    void update_parameters() override;
    void unbind() override {}

private:
    GLint m_point_size_param = -1;
    float m_point_size = 1.0f;
};
