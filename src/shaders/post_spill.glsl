// Glow spill: the glow, raised by lift (the gain's levels: times 255 /
// "in white", clipped at white), is laid over the picture with a screen
// blend, 1 - (1 - base)(1 - glow). Like adding light it only ever brightens,
// but it approaches white softly instead of clipping, so bright areas keep
// their shape under a strong glow.

uniform float lift;

vec3 spill(vec3 base, vec3 glow_texel)
{
    vec3 glow = min(glow_texel * lift, 1.0);
    return base + glow - base * glow;
}
