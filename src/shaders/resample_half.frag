#version 120
#extension GL_ARB_texture_rectangle : enable
// Half-size resample with a box filter: each output pixel is the mean of the
// 2 x 2 input texels it covers. The quad's coordinate at an output pixel
// centre falls on the corner shared by those four texels, so the taps at
// +-0.5 hit their centres exactly, whatever the texture's filter.

uniform sampler2DRect texunit0;

void main()
{
    vec2 corner = gl_TexCoord[0].st;
    vec4 sum = texture2DRect(texunit0, corner + vec2(-0.5, -0.5));
    sum += texture2DRect(texunit0, corner + vec2(0.5, -0.5));
    sum += texture2DRect(texunit0, corner + vec2(-0.5, 0.5));
    sum += texture2DRect(texunit0, corner + vec2(0.5, 0.5));
    gl_FragColor = sum * 0.25;
}
