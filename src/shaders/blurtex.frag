#version 120
#extension GL_ARB_texture_rectangle : enable
// One direction of the glow's blur: three Gaussian blurs in a row (sigma 2
// texels, 11 taps each) as one kernel of 31 taps. The weights come from the
// program, per line of texels: next to an edge they are those of the three
// blurs clamping at the edge one after the other. sampledir is the step
// between taps in output texels, (1, 0) for a horizontal pass and (0, 1) for
// a vertical one; the texture coordinates are output pixel positions and
// scale turns them into input texels (a smaller output samples the input at
// the positions a plain draw of it would). Each fetched colour may go
// through the bright pass's levels first: clamp(colour * level.x + level.y),
// which (1, 0) leaves as it is.

uniform sampler2DRect texunit0;
uniform vec2 sampledir;
uniform vec2 scale;
uniform vec2 level;
uniform float weight[31]; // taps -15 to 15

vec4 tap(vec2 at)
{
    vec4 texel = texture2DRect(texunit0, at * scale);
    return vec4(clamp(texel.rgb * level.x + level.y, 0.0, 1.0), texel.a);
}

void main()
{
    vec2 centre = gl_TexCoord[0].st;
    vec4 sum = vec4(0.0);
    for (int i = 0; i < 31; ++i)
        sum += tap(centre + sampledir * float(i - 15)) * weight[i];
    gl_FragColor = sum;
}
