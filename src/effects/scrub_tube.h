// Tube geometry of one scrub segment, written into the batcher's open block.
#pragma once

#include "math/vec3.h"

class cScrubMultiVBO;

// A prism of triangular cross-section from a to b: 18 vertices, no indices,
// smooth radial normals.
void emit_straight_tube(cScrubMultiVBO* out, const Vec3f& a, const Vec3f& b, float radius);

// A tube of square cross-section along the cubic Bezier curve p0..p3,
// subdivided until each piece's chord is below 0.219: 4 vertices per curve
// point and 24 indices per step between neighbouring points.
void emit_curved_tube(cScrubMultiVBO* out, const Vec3f& p0, const Vec3f& p1, const Vec3f& p2,
                      const Vec3f& p3, float radius);
