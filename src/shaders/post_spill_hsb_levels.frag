#version 120
#extension GL_ARB_texture_rectangle : enable
// The passes spill-add, hue/saturation/brightness and levels in one
// program: the glow (unit 1) spilled over the picture (unit 0), each stage's
// result kept as an 8-bit target would keep it between separate passes.
#include "post_spill.glsl"
#include "post_hsb.glsl"
#include "post_levels.glsl"
#include "post_stored.glsl"

uniform sampler2DRect texunit0;
uniform sampler2DRect texunit1;

void main()
{
    vec4 base = texture2DRect(texunit0, gl_TexCoord[0].st);
    vec3 glow = texture2DRect(texunit1, gl_TexCoord[1].st).rgb;
    vec3 colour = stored_8bit(spill(base.rgb, glow));
    colour = stored_8bit(adjust_hsb(colour));
    gl_FragColor = vec4(levels(colour), base.a);
}
