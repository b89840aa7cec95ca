#include "shaders/shd_post_spilladd.h"

cShdPostSpillAdd::cShdPostSpillAdd(sGlslContext*& context, eGlslProfile& vertex_profile,
                                   eGlslProfile& fragment_profile)
    : cShader_GLSL(context, vertex_profile, fragment_profile) {
    load_from_files("post_spilladd.vert", "post_spilladd.frag");
}
