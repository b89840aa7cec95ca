// A triangle mesh in vertex buffers, drawn range by range with its materials
// or as one range under a scene's own shader.
#pragma once

#include "mesh_files/material.h"
#include "mesh_files/mesh_data.h"
#include "mesh_files/vbo.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class iMeshType {
public:
    virtual ~iMeshType() = default;
};

class iMesh : public iMeshType {
public:
    virtual void draw() = 0;
    // Draws the mesh copies times; place(copy) runs before each copy and may
    // move the model-view matrix, nothing else. The buffers are bound once
    // for all the copies, and so are the material and its textures where
    // the mesh has one material range: every copy then looks as draw()
    // would draw it.
    virtual void draw_copies(int copies, const std::function<void(int)>& place) = 0;
    // Moves the arrays into the vertex buffers; free_copy drops the
    // in-memory copy of the vertex arrays afterwards.
    virtual void upload(bool free_copy) = 0;

    std::uint8_t m_flags = 0; // MESH_HAS_TEXCOORDS, MESH_HAS_NORMALS, MESH_DRAW_BY_MATERIAL
};

// The in-memory arrays of a mesh.
class cMeshObj_data {
public:
    std::vector<float> m_pos;
    std::vector<float> m_norm;
    std::vector<float> m_tex0;
    std::vector<std::int32_t> m_indices;
    std::vector<std::int32_t> m_matswitches;
    std::vector<cMaterial_GL> m_materials;
};

class cMeshObj : public iMesh, public cMeshObj_data {
public:
    cMeshObj();
    // Takes the arrays and materials of loaded data.
    explicit cMeshObj(sMeshData&& data);
    ~cMeshObj() override;
    cMeshObj(const cMeshObj&) = delete;
    cMeshObj& operator=(const cMeshObj&) = delete;

    void draw() override;
    void draw_copies(int copies, const std::function<void(int)>& place) override;
    void upload(bool free_copy) override;
    // Draw as one range under the caller's shader: no materials, no textures.
    void switch_materials_off();

private:
    void bind_arrays();
    // The triangles, range by range with their materials; the texture
    // units are unbound afterwards.
    void draw_ranges();
    // The triangles of range k in the current state.
    void draw_range(std::size_t k);
    // Texture units 0 to 2 disabled and unbound; unit 0 left active.
    void unbind_textures();
    void unbind_arrays();

public:
    cVBO m_vbo_pos{3};
    cVBO m_vbo_norm{3};
    cVBO m_vbo_tex0{2};
    cVBO m_vbo_index{1};
};
