// Levels as in a photo editor, on a 0 to 255 scale: the input range
// [inBlack, inWhite] is stretched to 0..1 (clipping outside it), bent by the
// gamma (above 1 lifts the midtones), then mapped onto [outBlack, outWhite].
// The glow's bright pass is this with inBlack as the threshold.

uniform float inBlack;
uniform float inWhite;
uniform float Gamma;
uniform float outBlack;
uniform float outWhite;

vec3 levels(vec3 colour)
{
    // A collapsed input range becomes a hard threshold instead of a division
    // by zero.
    float range = max(inWhite - inBlack, 0.001);
    vec3 level = clamp((colour * 255.0 - vec3(inBlack)) / range, 0.0, 1.0);
    level = pow(level, vec3(1.0 / max(Gamma, 0.001)));
    return (vec3(outBlack) + level * (outWhite - outBlack)) / 255.0;
}
