#version 120
#extension GL_ARB_texture_rectangle : enable
// Glow spill: the glow (unit 1), raised by lift (the gain's levels: times
// 255 / "in white", clipped at white), is laid over the picture (unit 0)
// with a screen blend, 1 - (1 - base)(1 - glow). Like adding light it only
// ever brightens, but it approaches white softly instead of clipping, so
// bright areas keep their shape under a strong glow.

uniform sampler2DRect texunit0;
uniform sampler2DRect texunit1;
uniform float lift;

void main()
{
    vec4 base = texture2DRect(texunit0, gl_TexCoord[0].st);
    vec3 glow = min(texture2DRect(texunit1, gl_TexCoord[1].st).rgb * lift, 1.0);
    gl_FragColor = vec4(base.rgb + glow - base.rgb * glow, base.a);
}
