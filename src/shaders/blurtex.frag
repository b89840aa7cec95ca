#version 120
#extension GL_ARB_texture_rectangle : enable
// One direction of a separable Gaussian blur (sigma 2 texels at 1024 x 640,
// 11 taps): sampledir is the step between taps in texels, (1, 0) for a
// horizontal pass and (0, 1) for a vertical one, scaled with the picture's
// size. Whole steps sit on texel centres, so the result does not depend on
// the texture's filter; other steps are filtered linearly. The weights sum to one:
// the blur moves light around without adding or losing any.

uniform sampler2DRect texunit0;
uniform vec2 sampledir;

const float weight0 = 0.200565;
const float weight[5] = float[5](0.176998, 0.121649, 0.065114, 0.027144, 0.008812);

void main()
{
    vec2 centre = gl_TexCoord[0].st;
    vec3 sum = texture2DRect(texunit0, centre).rgb * weight0;
    for (int i = 0; i < 5; ++i) {
        vec2 offset = sampledir * float(i + 1);
        sum += texture2DRect(texunit0, centre + offset).rgb * weight[i];
        sum += texture2DRect(texunit0, centre - offset).rgb * weight[i];
    }
    gl_FragColor = vec4(sum, 1.0);
}
