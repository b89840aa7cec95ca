// Colour correction through a lookup image: each channel of the picture
// (unit 0) indexes the same channel of a 256 x 1 RGB lookup (unit 1, a 1D
// texture), so a lookup made from a graded gradient applies that grade.

uniform sampler1D texunit1;

// Value 0..1 to the centre of lookup texel 0..255, so that every 8-bit
// input lands on its own entry without blending with its neighbours.
float lookup_coord(float value)
{
    return (value * 255.0 + 0.5) / 256.0;
}

vec3 correct(vec3 colour)
{
    float r = texture1D(texunit1, lookup_coord(colour.r)).r;
    float g = texture1D(texunit1, lookup_coord(colour.g)).g;
    float b = texture1D(texunit1, lookup_coord(colour.b)).b;
    return vec3(r, g, b);
}
