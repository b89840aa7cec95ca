// Lit, untextured surfaces under the fixed-function light 0 and the front
// material. No parameters.
#pragma once

#include "shader_glsl.h"

class cShdNotex : public cShader_GLSL {
public:
    cShdNotex(sGlslContext*& context, eGlslProfile& vertex_profile, eGlslProfile& fragment_profile);
    void init_parameters() override {}
    void update_parameters() override {}
    void unbind() override {}
};
