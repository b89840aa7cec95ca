#include "shaders/shd_notex.h"

cShdNotex::cShdNotex(sGlslContext*& context, eGlslProfile& vertex_profile,
                     eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("../src/shaders/notex.vert", "../src/shaders/notex.frag");
}
