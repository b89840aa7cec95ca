#version 120
// The room's two bakes, with the light off (unit 0) and on (unit 1), mixed
// by blend (0 off, 1 on): the lamp flickers by moving blend, not geometry.

uniform sampler2D texunit0;
uniform sampler2D texunit1;
uniform float blend;

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec4 light_off = texture2D(texunit0, uv);
    vec4 light_on = texture2D(texunit1, uv);
    gl_FragColor = mix(light_off, light_on, blend);
}
