#include "effects/mesh_loc.h"

#include "debug.h"
#include "math/random.h"

cMeshLoc cMeshLoc::random(const sMeshArrays& mesh) {
    const std::vector<std::int32_t>& es = *mesh.indices;
    VT_ASSERT(!es.empty());
    // (count - 1) / 3 is one less than the triangle count, so the last
    // triangle comes up only when the draw is exactly 1.
    double r = vt_rand_unit();
    std::int32_t triangle = std::int32_t(r * double((es.size() - 1) / 3));
    double a = vt_rand_unit();
    double b = vt_rand_unit();
    float u = float(b), v = float(a);
    // Fold the far half of the parallelogram back into the triangle.
    if (u + v > 1.0f) {
        u = 1.0f - u;
        v = 1.0f - v;
    }
    return cMeshLoc(3 * triangle, u, v, mesh);
}

Vec3f cMeshLoc::corner(int k) const {
    const std::vector<std::int32_t>& es = *m_mesh.indices;
    const std::vector<float>& pos = *m_mesh.positions;
    std::size_t slot = std::size_t(m_first_index) + std::size_t(k);
    VT_ASSERT(slot < es.size());
    std::int32_t vertex = es[slot];
    // A corrupt index must not read outside the position array.
    VT_ASSERT(vertex >= 0 && std::size_t(vertex) * 3 + 2 < pos.size());
    const float* p = &pos[std::size_t(vertex) * 3];
    return Vec3f(p[0], p[1], p[2]);
}

Vec3f cMeshLoc::position() const {
    Vec3f c0 = corner(0), c1 = corner(1), c2 = corner(2);
    Vec3f e1 = c1 - c0, e2 = c2 - c0;
    return Vec3f(float(c0.x + double(m_u) * e1.x + double(m_v) * e2.x),
                 float(c0.y + double(m_u) * e1.y + double(m_v) * e2.y),
                 float(c0.z + double(m_u) * e1.z + double(m_v) * e2.z));
}
