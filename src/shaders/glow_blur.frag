#version 120
#extension GL_ARB_texture_rectangle : enable
// One direction of the glow's blur, run on a half-size copy of the glow's
// light: a Gaussian of 13 taps (-6 to 6 texels). The weights come per line
// of texels from the vertices (glow_blur.vert): next to an edge the light
// that would fall beyond it is gathered on the edge texel's tap. sampledir
// is the step between taps in texels, (1, 0) for a horizontal pass and
// (0, 1) for a vertical one at 1024 x 640, scaled with the picture's size.
// Whole steps sit on texel centres, so the result does not depend on the
// texture's filter; other steps are filtered linearly. Only the colour is
// blurred: the glow's alpha is never read, and is left opaque.

uniform sampler2DRect texunit0;
uniform vec2 sampledir;
varying vec4 weights[4]; // taps -6 to 6, four to an entry (the last three unused)

void main()
{
    vec2 centre = gl_TexCoord[0].st;
    vec3 sum = vec3(0.0);
    for (int i = 0; i < 13; ++i)
        sum += texture2DRect(texunit0, centre + sampledir * float(i - 6)).rgb *
               weights[i / 4][i - i / 4 * 4];
    gl_FragColor = vec4(sum, 1.0);
}
