#version 120
#extension GL_ARB_texture_rectangle : enable
// One direction of the glow's blur: three Gaussian blurs in a row (sigma 2
// texels, 11 taps each) as one kernel, 21 taps of its 31 (the outer ones
// hold less than a 250th of the light). The weights come per line of
// texels from the vertices (blur3tex.vert): next to an edge they are those
// of the three blurs clamping at the edge one after the other. sampledir is
// the step between taps in texels, (1, 0) for a horizontal pass and (0, 1)
// for a vertical one at 1024 x 640, scaled with the picture's size. Whole
// steps sit on texel centres, so the result does not depend on the
// texture's filter; other steps are filtered linearly. Only the colour is
// blurred: the glow's alpha is never read, and is left opaque.

uniform sampler2DRect texunit0;
uniform vec2 sampledir;
varying vec4 weights[6]; // taps -10 to 10, four to an entry

void main()
{
    vec2 centre = gl_TexCoord[0].st;
    vec3 sum = vec3(0.0);
    for (int i = 0; i < 21; ++i)
        sum += texture2DRect(texunit0, centre + sampledir * float(i - 10)).rgb *
               weights[i / 4][i - i / 4 * 4];
    gl_FragColor = vec4(sum, 1.0);
}
