#version 120
#extension GL_ARB_texture_rectangle : enable
// Colour correction of the picture on unit 0.
#include "post_correction.glsl"

uniform sampler2DRect texunit0;

void main()
{
    vec4 texel = texture2DRect(texunit0, gl_TexCoord[0].st);
    gl_FragColor = vec4(correct(texel.rgb), texel.a);
}
