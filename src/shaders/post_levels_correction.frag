#version 120
#extension GL_ARB_texture_rectangle : enable
// The passes levels and colour correction in one program: the picture on
// unit 0, the lookup on unit 1, the levels' result kept as an 8-bit target
// would keep it between separate passes.
#include "post_levels.glsl"
#include "post_stored.glsl"
#include "post_correction.glsl"

uniform sampler2DRect texunit0;

void main()
{
    vec4 texel = texture2DRect(texunit0, gl_TexCoord[0].st);
    gl_FragColor = vec4(correct(stored_8bit(levels(texel.rgb))), texel.a);
}
