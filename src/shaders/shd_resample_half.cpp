#include "shaders/shd_resample_half.h"

cShdResampleHalf::cShdResampleHalf(sGlslContext*& context, eGlslProfile& vertex_profile,
                                   eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("resample_half.vert", "resample_half.frag");
}
