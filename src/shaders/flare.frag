#version 120
// A solar flare arc, drawn additively by the caller. The gas texture (unit
// 0) drifts along the arc at half the speed of the fade gradient (unit 1),
// which sweeps through it as the flare ages: uvshift runs from -1 at birth
// through 0 at half life to 1 at death. Both textures clamp at their edges,
// so the gradient's end texels hold the flare before and after the sweep.

uniform sampler2D texunit0;
uniform sampler2D texunit1;
uniform float uvshift;

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec4 gas = texture2D(texunit0, uv + vec2(0.5 * uvshift, 0.0));
    vec4 fade = texture2D(texunit1, uv + vec2(uvshift, 0.0));
    gl_FragColor = gl_Color * gas * fade;
}
