// Hue, saturation and brightness in HSB (HSV) space.
// H_adjust: hue turn in radians. The engine hands over minus the artist's
//   angle, so the turn goes the other way round the HSV wheel: an artist's
//   +120 degrees (H_adjust = -2/3 pi) takes red to green, as in photo editors.
// S_adjust: factor on the saturation (0 gives grey, 1 leaves it).
// B_adjust: added to the brightness (value), -1..1.

uniform float H_adjust;
uniform float S_adjust;
uniform float B_adjust;

const float TWO_PI = 6.28318530718;

vec3 rgb_to_hsb(vec3 c)
{
    float top = max(c.r, max(c.g, c.b));
    float bottom = min(c.r, min(c.g, c.b));
    float chroma = top - bottom;
    float hue = 0.0;
    if (chroma > 0.0) {
        if (top == c.r)
            hue = mod((c.g - c.b) / chroma, 6.0);
        else if (top == c.g)
            hue = (c.b - c.r) / chroma + 2.0;
        else
            hue = (c.r - c.g) / chroma + 4.0;
    }
    float saturation = top > 0.0 ? chroma / top : 0.0;
    return vec3(hue / 6.0, saturation, top);
}

vec3 hsb_to_rgb(vec3 hsb)
{
    vec3 ramp = clamp(abs(fract(hsb.x + vec3(0.0, 2.0 / 3.0, 1.0 / 3.0)) * 6.0 - 3.0) - 1.0,
                      0.0, 1.0);
    return hsb.z * mix(vec3(1.0), ramp, hsb.y);
}

vec3 adjust_hsb(vec3 colour)
{
    vec3 hsb = rgb_to_hsb(colour);
    hsb.x = fract(hsb.x - H_adjust / TWO_PI);
    hsb.y = clamp(hsb.y * S_adjust, 0.0, 1.0);
    hsb.z = clamp(hsb.z + B_adjust, 0.0, 1.0);
    return hsb_to_rgb(hsb);
}
