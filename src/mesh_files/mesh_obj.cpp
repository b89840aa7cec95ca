#include "mesh_files/mesh_obj.h"

#include "debug.h"
#include "gl_entry.h"
#include "mesh_files/bzobj_loader.h"

#include <cstdint>
#include <memory>
#include <utility>

cMeshObj::cMeshObj() {
    m_vbo_index.set_target(GL_ELEMENT_ARRAY_BUFFER_ARB);
}

cMeshObj::cMeshObj(sMeshData&& data) : cMeshObj() {
    m_flags = data.m_flags;
    m_pos = std::move(data.m_pos);
    m_norm = std::move(data.m_norm);
    m_tex0 = std::move(data.m_tex0);
    m_indices = std::move(data.m_indices);
    m_matswitches = std::move(data.m_matswitches);
    m_materials.reserve(data.m_materials.size());
    for (const cMaterial_data& material : data.m_materials)
        m_materials.emplace_back(material);
}

cMeshObj::~cMeshObj() {
    // In the order index, texture coordinates, normals, positions.
    m_vbo_index.release();
    m_vbo_tex0.release();
    m_vbo_norm.release();
    m_vbo_pos.release();
}

void cMeshObj::switch_materials_off() {
    m_flags = std::uint8_t(m_flags & ~MESH_DRAW_BY_MATERIAL);
    m_materials.clear();
}

void cMeshObj::upload(bool free_copy) {
    // clang-format off
    VT_ASSERT_MSG(!(m_pos.size()%3), "cMeshObj");
    m_vbo_pos.upload(int(m_pos.size() / 3), m_pos.data());
    VT_ASSERT_MSG(!(m_norm.size()%3), "cMeshObj");
    m_vbo_norm.upload(int(m_norm.size() / 3), m_norm.data());
    VT_ASSERT_MSG(!(m_tex0.size()%2), "cMeshObj");
    m_vbo_tex0.upload(int(m_tex0.size() / 2), m_tex0.data());
    // clang-format on
    m_vbo_index.upload(int(m_indices.size()), m_indices.data());
    if (free_copy) {
        // One element each: a second upload stops at the size checks.
        m_pos.assign(1, 0.0f);
        m_norm.assign(1, 0.0f);
        m_tex0.assign(1, 0.0f);
    }
}

void cMeshObj::draw() {
    bind_arrays();
    draw_ranges();
    unbind_arrays();
}

void cMeshObj::draw_copies(int copies, const std::function<void(int)>& place) {
    bind_arrays();
    if ((m_flags & MESH_DRAW_BY_MATERIAL) && m_matswitches.size() == 2) {
        // One range: its material and textures would be set to the same
        // state before every copy, so they are set once for all of them.
        VT_ASSERT_MSG(!m_materials.empty(), "cMeshObj");
        m_materials[0].apply();
        for (int copy = 0; copy < copies; ++copy) {
            place(copy);
            draw_range(0);
        }
        unbind_textures();
    } else {
        // Several ranges keep the order of one whole copy after the other:
        // the depth test and blending may depend on it.
        for (int copy = 0; copy < copies; ++copy) {
            place(copy);
            draw_ranges();
        }
    }
    unbind_arrays();
}

void cMeshObj::bind_arrays() {
    m_vbo_pos.bind_vertices();
    if (m_flags & MESH_HAS_NORMALS)
        m_vbo_norm.bind_normals();
    if (m_flags & MESH_HAS_TEXCOORDS)
        m_vbo_tex0.bind_texcoords(GL_TEXTURE0_ARB);
    VT_ASSERT(m_vbo_index.get_buffer());
    ext::glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, m_vbo_index.get_buffer());
}

void cMeshObj::draw_ranges() {
    if (!(m_flags & MESH_DRAW_BY_MATERIAL)) {
        glDrawElements(GL_TRIANGLES, GLsizei(m_indices.size()), GL_UNSIGNED_INT, nullptr);
        return;
    }
    const std::size_t no_matswitches = m_matswitches.size();
    // clang-format off
    VT_ASSERT_MSG(m_materials.size() >= no_matswitches-1, "cMeshObj");
    // clang-format on
    for (std::size_t k = 0; k + 1 < no_matswitches; ++k) {
        m_materials[k].apply();
        draw_range(k);
    }
    unbind_textures();
}

void cMeshObj::draw_range(std::size_t k) {
    const std::int32_t first = m_matswitches[k];
    glDrawElements(GL_TRIANGLES, m_matswitches[k + 1] - first, GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(std::uintptr_t(first) * 4));
}

void cMeshObj::unbind_textures() {
    for (GLenum unit : {GL_TEXTURE2_ARB, GL_TEXTURE1_ARB, GL_TEXTURE0_ARB}) {
        ext::glActiveTextureARB(unit);
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

void cMeshObj::unbind_arrays() {
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    ext::glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (m_flags & MESH_HAS_TEXCOORDS) {
        ext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (m_flags & MESH_HAS_NORMALS)
        glDisableClientState(GL_NORMAL_ARRAY);
    ext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
}

std::unique_ptr<cMeshObj> BzObjLoader::create(const std::string& name) {
    sMeshData data;
    load(name, &data);
    auto mesh = std::make_unique<cMeshObj>(std::move(data));
    for (cMaterial_GL& material : mesh->m_materials)
        material.prepare_textures();
    return mesh;
}

std::unique_ptr<cMeshObj> BzObjLoader::create_without_materials(const std::string& name) {
    std::unique_ptr<cMeshObj> mesh = create(name);
    mesh->switch_materials_off();
    return mesh;
}
