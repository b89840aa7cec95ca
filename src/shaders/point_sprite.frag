#version 120
// Coverage of a round point from the fragment's distance to its centre:
// nothing outside the disc of the point's radius, full coverage in the ring
// one pixel wide inside its edge, and a brighter core within that ring
// (coverage (1 - d) / (1 - k), d the squared distance and k the squared inner
// radius, both in units of the radius). This is how smooth points look on
// the software rasteriser, now the same on every driver. The caller blends
// additively, so coverage scales the alpha. A point below two pixels (on a
// picture smaller than 1024 x 640) is drawn at two with the light of its
// own area.

uniform float point_size;

void main()
{
    float radius = 0.5 * max(point_size, 2.0);
    vec2 p = gl_PointCoord * 2.0 - 1.0; // -1 to 1 across the sprite
    float d = dot(p, p);
    if (d > 1.0)
        discard;
    float inner = 1.0 / radius;
    inner = 1.0 - 2.0 * inner + inner * inner; // (1 - 1 / radius)^2
    float coverage = d <= inner ? (1.0 - d) * (1.0 / (1.0 - inner)) : 1.0;
    float area = min(1.0, point_size * point_size / 4.0);
    gl_FragColor = vec4(gl_Color.rgb, gl_Color.a * coverage * area);
}
