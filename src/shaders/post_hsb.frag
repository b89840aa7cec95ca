#version 120
#extension GL_ARB_texture_rectangle : enable
// Hue, saturation and brightness of the picture on unit 0.
#include "post_hsb.glsl"

uniform sampler2DRect texunit0;

void main()
{
    vec4 texel = texture2DRect(texunit0, gl_TexCoord[0].st);
    gl_FragColor = vec4(adjust_hsb(texel.rgb), texel.a);
}
