#include "shaders/shd_correction.h"

cShdCorrection::cShdCorrection(sGlslContext*& context, eGlslProfile& vertex_profile,
                               eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("post_correction.vert", "post_correction.frag");
}
