#version 120
#extension GL_ARB_texture_rectangle : enable
// The glow's bright pass into a target of half the picture's size: each
// output pixel is the mean of the levels (the threshold as in black) of the
// 2 x 2 texels it covers, so that light above the threshold counts whole
// even where its neighbours are dark. The quad's coordinate at an output
// pixel centre falls on the corner shared by those four texels, so the
// taps at +-0.5 hit their centres exactly, whatever the texture's filter.
#include "post_levels.glsl"

uniform sampler2DRect texunit0;

void main()
{
    vec2 corner = gl_TexCoord[0].st;
    vec3 sum = levels(texture2DRect(texunit0, corner + vec2(-0.5, -0.5)).rgb);
    sum += levels(texture2DRect(texunit0, corner + vec2(0.5, -0.5)).rgb);
    sum += levels(texture2DRect(texunit0, corner + vec2(-0.5, 0.5)).rgb);
    sum += levels(texture2DRect(texunit0, corner + vec2(0.5, 0.5)).rgb);
    gl_FragColor = vec4(sum * 0.25, 1.0);
}
