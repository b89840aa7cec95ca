// Half resample: each output pixel filters the 2 x 2 texels of the input
// (unit 0) below it. No parameters.
#pragma once

#include "shader_glsl.h"

class cShdResampleHalf : public cShader_GLSL {
public:
    cShdResampleHalf(sGlslContext*& context, eGlslProfile& vertex_profile,
                     eGlslProfile& fragment_profile);
    void init_parameters() override {}
    void update_parameters() override {}
    void unbind() override {}
};
