#include "effects/scrub_tube.h"

#include "effects/scrub_multi_vbo.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {
// Pieces whose chord is at least this long are split in two.
constexpr double SPLIT_CHORD = 3.0 * 0.073;

Vec3f midpoint(const Vec3f& a, const Vec3f& b) {
    return (a + b) * 0.5f;
}

// Appends the control points after p[0] of the pieces that p splits into.
void subdivide(const Vec3f p[4], std::vector<Vec3f>* out) {
    if ((p[3] - p[0]).length() >= SPLIT_CHORD) {
        // de Casteljau at t = 0.5.
        Vec3f p01 = midpoint(p[0], p[1]), p12 = midpoint(p[1], p[2]), p23 = midpoint(p[2], p[3]);
        Vec3f p012 = midpoint(p01, p12), p123 = midpoint(p12, p23);
        Vec3f mid = midpoint(p012, p123);
        const Vec3f first[4] = {p[0], p01, p012, mid};
        const Vec3f second[4] = {mid, p123, p23, p[3]};
        subdivide(first, out);
        subdivide(second, out);
        return;
    }
    out->push_back(p[1]);
    out->push_back(p[2]);
    out->push_back(p[3]);
}

// Any unit vector not parallel to d: the y axis unless d leans towards it.
Vec3f helper_axis(const Vec3f& d) {
    return std::fabs(d.y) <= std::fabs(d.x) ? Vec3f(0.0f, 1.0f, 0.0f) : Vec3f(1.0f, 0.0f, 0.0f);
}

Vec3f ring_offset(double angle, const Vec3f& c_axis, const Vec3f& s_axis) {
    double c = std::cos(angle), s = std::sin(angle);
    return Vec3f(float(c * c_axis.x + s * s_axis.x), float(c * c_axis.y + s * s_axis.y),
                 float(c * c_axis.z + s * s_axis.z));
}
} // namespace

void emit_straight_tube(cScrubMultiVBO* out, const Vec3f& a, const Vec3f& b, float radius) {
    Vec3f t = (b - a).normalized();
    Vec3f u = helper_axis(t).cross(t).normalized();
    Vec3f v = t.cross(u).normalized();
    Vec3f e[4], ra[4], rb[4];
    for (int i = 0; i < 4; ++i) {
        // The fourth point closes the ring on the first.
        double angle = ((i % 3) / 3.0) * 2.0 * M_PI;
        e[i] = ring_offset(angle, u, v);
        ra[i] = a + e[i] * radius;
        rb[i] = b + e[i] * radius;
    }
    for (int i = 1; i <= 3; ++i) {
        out->add_vertex(ra[i - 1], e[i - 1]);
        out->add_vertex(rb[i], e[i]);
        out->add_vertex(rb[i - 1], e[i - 1]);
        out->add_vertex(ra[i - 1], e[i - 1]);
        out->add_vertex(ra[i], e[i]);
        out->add_vertex(rb[i], e[i]);
    }
}

void emit_curved_tube(cScrubMultiVBO* out, const Vec3f& p0, const Vec3f& p1, const Vec3f& p2,
                      const Vec3f& p3, float radius) {
    std::vector<Vec3f> points{p0};
    const Vec3f control[4] = {p0, p1, p2, p3};
    subdivide(control, &points);

    // A frame carried along the curve: w is kept perpendicular to the tangent.
    Vec3f d0 = points[1] - points[0];
    Vec3f w = d0.cross(helper_axis(d0)).normalized();
    std::uint32_t prev_ring[4] = {0, 0, 0, 0};
    const std::size_t count = points.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Vec3f& p = points[i];
        Vec3f tangent;
        if (i == 0)
            tangent = (points[1] - p).normalized();
        else if (i + 1 == count)
            tangent = (p - points[i - 1]).normalized();
        else
            tangent = (points[i + 1] - points[i - 1]).normalized();
        Vec3f a = w.cross(tangent).normalized();
        w = tangent.cross(a);

        std::uint32_t ring[4];
        for (int k = 0; k < 4; ++k) {
            double angle = k * M_PI / 2.0;
            Vec3f e = ring_offset(angle, w, a); // sin(angle) a + cos(angle) w
            ring[k] = out->add_vertex(p + e * radius, e);
        }
        if (i > 0) {
            for (int k = 0; k < 4; ++k) {
                int k1 = (k + 1) % 4;
                out->add_index(prev_ring[k]);
                out->add_index(ring[k]);
                out->add_index(ring[k1]);
                out->add_index(ring[k1]);
                out->add_index(prev_ring[k1]);
                out->add_index(prev_ring[k]);
            }
        }
        for (int k = 0; k < 4; ++k)
            prev_ring[k] = ring[k];
    }
}
