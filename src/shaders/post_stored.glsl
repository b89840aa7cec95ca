// What an 8-bit target keeps of a colour and a pass reading it back gets:
// clamped, times 255 rounded to the nearest whole number (a tie to the even
// one), and that over 255 as the texture unit converts it. Passes fused into
// one program put their stages' results through this, so that the picture
// is the same to the byte as that of the separate passes.

vec3 stored_8bit(vec3 colour)
{
    vec3 scaled = clamp(colour, 0.0, 1.0) * 255.0;
    vec3 level = floor(scaled + 0.5);
    level -= vec3(equal(level - scaled, vec3(0.5))) * step(0.25, fract(level * 0.5));
    return level * 0.003921568859368562698364257812;
}
