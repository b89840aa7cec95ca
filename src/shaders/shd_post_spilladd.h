// Spill-add: the glow on unit 1 composited over the image on unit 0. No
// parameters.
#pragma once

#include "shader_glsl.h"

class cShdPostSpillAdd : public cShader_GLSL {
public:
    cShdPostSpillAdd(sGlslContext*& context, eGlslProfile& vertex_profile,
                     eGlslProfile& fragment_profile);
    void init_parameters() override {}
    void update_parameters() override {}
    void unbind() override {}
};
