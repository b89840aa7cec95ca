// Colour correction: each channel of the image on unit 0 looked up in the
// lookup texture on unit 1. No parameters.
#pragma once

#include "shader_glsl.h"

class cShdCorrection : public cShader_GLSL {
public:
    cShdCorrection(sGlslContext*& context, eGlslProfile& vertex_profile,
                   eGlslProfile& fragment_profile);
    void init_parameters() override {}
    void update_parameters() override {}
    void unbind() override {}
};
