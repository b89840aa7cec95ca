// Random points on a triangle mesh: a triangle of its index list plus two
// barycentric coordinates.
#pragma once

#include "math/vec3.h"

#include <cstdint>
#include <vector>

// The in-memory arrays of a mesh that sampling needs: positions, 3 floats per
// vertex, and a triangle list of vertex indices, 3 per triangle. Not owned; a
// mesh object hands out its own arrays, which must outlive the users.
struct sMeshArrays {
    const std::vector<float>* positions = nullptr;
    const std::vector<std::int32_t>* indices = nullptr;
};

class cMeshLoc {
public:
    // Picks a location on mesh with three draws from the shared generator.
    // Triangles are picked uniformly by number, not by area.
    static cMeshLoc random(const sMeshArrays& mesh);

    cMeshLoc(std::int32_t first_index, float u, float v, const sMeshArrays& mesh)
        : m_first_index(first_index), m_u(u), m_v(v), m_mesh(mesh) {}

    // Position of corner k (0, 1 or 2) of the triangle.
    Vec3f corner(int k) const;
    // c0 + u (c1 - c0) + v (c2 - c0).
    Vec3f position() const;

    std::int32_t m_first_index; // position in the index list, a multiple of 3
    float m_u;
    float m_v;
    sMeshArrays m_mesh;
};
