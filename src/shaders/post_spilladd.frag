#version 120
#extension GL_ARB_texture_rectangle : enable
// Glow spill: the glow (unit 1) is laid over the picture (unit 0) with a
// screen blend, 1 - (1 - base)(1 - glow). Like adding light it only ever
// brightens, but it approaches white softly instead of clipping, so bright
// areas keep their shape under a strong glow.

uniform sampler2DRect texunit0;
uniform sampler2DRect texunit1;

void main()
{
    vec4 base = texture2DRect(texunit0, gl_TexCoord[0].st);
    vec4 glow = texture2DRect(texunit1, gl_TexCoord[1].st);
    gl_FragColor = vec4(base.rgb + glow.rgb - base.rgb * glow.rgb, base.a);
}
