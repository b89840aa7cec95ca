// One triangle mesh as a .bzobj file holds it, in the arrays the GL mesh
// uploads: GL-free, so the parser, the writer, the tools and the tests share
// it. The GL mesh object takes these arrays over and builds its GL materials
// from m_materials.
#pragma once

#include "mesh_files/material_data.h"

#include <cstdint>
#include <vector>

// Bits of m_flags.
constexpr uint8_t MESH_HAS_TEXCOORDS = 0x01;
constexpr uint8_t MESH_HAS_NORMALS = 0x02;
constexpr uint8_t MESH_DRAW_BY_MATERIAL = 0x10;

struct sMeshData {
    uint8_t m_flags = 0;                     // the file's flags byte, unused bits included
    std::vector<float> m_pos;                // x, y, z per vertex
    std::vector<float> m_norm;               // x, y, z per vertex; empty without MESH_HAS_NORMALS
    std::vector<float> m_tex0;               // u, v per vertex; empty without MESH_HAS_TEXCOORDS
    std::vector<int32_t> m_indices;          // three vertex indices per triangle
    std::vector<int32_t> m_matswitches;      // 0, the start of every later material range, the end
    std::vector<cMaterial_data> m_materials; // in file order; material k draws range k

    std::size_t vertex_count() const { return m_pos.size() / 3; }
    std::size_t face_count() const { return m_indices.size() / 3; }

    void clear() { *this = sMeshData(); }
};
