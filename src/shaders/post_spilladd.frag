#version 120
#extension GL_ARB_texture_rectangle : enable
// The glow (unit 1) spilled over the picture (unit 0).
#include "post_spill.glsl"

uniform sampler2DRect texunit0;
uniform sampler2DRect texunit1;

void main()
{
    vec4 base = texture2DRect(texunit0, gl_TexCoord[0].st);
    vec3 glow = texture2DRect(texunit1, gl_TexCoord[1].st).rgb;
    gl_FragColor = vec4(spill(base.rgb, glow), base.a);
}
