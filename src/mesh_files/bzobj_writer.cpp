#include "mesh_files/bzobj_writer.h"

#include <cstdio>
#include <cstring>
#include <zlib.h>

namespace {
void put_u32(std::vector<uint8_t>* out, uint32_t v) {
    out->push_back(uint8_t(v));
    out->push_back(uint8_t(v >> 8));
    out->push_back(uint8_t(v >> 16));
    out->push_back(uint8_t(v >> 24));
}

void put_f32(std::vector<uint8_t>* out, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    put_u32(out, bits);
}

void put_floats(std::vector<uint8_t>* out, const float* values, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        put_f32(out, values[i]);
}

bool check_mesh(const sMeshData& mesh, std::string* error) {
    const std::size_t verts = mesh.m_pos.size() / 3;
    if (mesh.m_pos.empty() || mesh.m_pos.size() % 3) {
        *error = "positions must be a positive multiple of 3 floats";
        return false;
    }
    if (mesh.m_indices.empty() || mesh.m_indices.size() % 3) {
        *error = "indices must be a positive multiple of 3";
        return false;
    }
    if (verts > 0x7FFFFFFF || mesh.m_indices.size() > 0x7FFFFFFF ||
        mesh.m_materials.size() > 0x7FFFFFFF) {
        *error = "mesh too large for 32-bit counts";
        return false;
    }
    const bool has_norm = mesh.m_flags & MESH_HAS_NORMALS;
    const bool has_tex = mesh.m_flags & MESH_HAS_TEXCOORDS;
    if (mesh.m_norm.size() != (has_norm ? verts * 3 : 0)) {
        *error = has_norm ? "normals must match the positions" : "normals without the flag";
        return false;
    }
    if (mesh.m_tex0.size() != (has_tex ? verts * 2 : 0)) {
        *error = has_tex ? "texture coordinates must match the positions"
                         : "texture coordinates without the flag";
        return false;
    }
    for (int32_t index : mesh.m_indices)
        if (index < 0 || std::size_t(index) >= verts) {
            *error = "vertex index " + std::to_string(index) + " outside the vertices";
            return false;
        }
    // The markers can only say where a range starts, at a face after the
    // first: the list must be 0, rising face starts, the index count.
    const std::vector<int32_t>& sw = mesh.m_matswitches;
    bool switches_ok =
        sw.size() >= 2 && sw.front() == 0 && std::size_t(sw.back()) == mesh.m_indices.size();
    for (std::size_t k = 1; switches_ok && k < sw.size(); ++k)
        switches_ok = sw[k] > sw[k - 1] && sw[k] % 3 == 0;
    if (!switches_ok) {
        *error = "material switch list must be 0, rising face starts, the index count";
        return false;
    }
    for (const cMaterial_data& material : mesh.m_materials) {
        const std::string* strings[6] = {&material.m_name};
        for (int t = 0; t < MATTEX_COUNT; ++t)
            strings[t + 1] = &material.m_texnames[t];
        for (const std::string* s : strings)
            if (s->size() > 127 || s->find('\0') != std::string::npos) {
                *error = "material string \"" + *s + "\" is over 127 bytes or holds a zero byte";
                return false;
            }
    }
    return true;
}
} // namespace

bool bzobj_encode_payload(const sMeshData& mesh, std::vector<uint8_t>* payload,
                          std::string* error) {
    payload->clear();
    if (!check_mesh(mesh, error))
        return false;
    const std::size_t faces = mesh.face_count();
    payload->reserve(13 + mesh.m_pos.size() * 4 + mesh.m_norm.size() * 4 + mesh.m_tex0.size() * 4 +
                     faces * 16 + mesh.m_materials.size() * 80);
    payload->push_back(mesh.m_flags);
    put_u32(payload, uint32_t(mesh.vertex_count()));
    put_u32(payload, uint32_t(faces));
    put_u32(payload, uint32_t(mesh.m_materials.size()));
    put_floats(payload, mesh.m_pos.data(), mesh.m_pos.size());
    put_floats(payload, mesh.m_norm.data(), mesh.m_norm.size());
    put_floats(payload, mesh.m_tex0.data(), mesh.m_tex0.size());

    // Corner planes: the first value, then the change from face to face.
    for (int p = 0; p < 3; ++p) {
        uint32_t previous = 0;
        for (std::size_t i = 0; i < faces; ++i) {
            const uint32_t index = uint32_t(mesh.m_indices[i * 3 + p]);
            put_u32(payload, index - previous);
            previous = index;
        }
    }

    // Markers: 1 on the first face of every range after the first.
    std::size_t next_switch = 1;
    for (std::size_t i = 0; i < faces; ++i) {
        uint32_t marker = 0;
        if (i > 0 && std::size_t(mesh.m_matswitches[next_switch]) == i * 3) {
            marker = 1;
            ++next_switch;
        }
        put_u32(payload, marker);
    }

    for (const cMaterial_data& material : mesh.m_materials) {
        payload->push_back(uint8_t(material.m_name.size()));
        for (const std::string& name : material.m_texnames)
            payload->push_back(uint8_t(name.size()));
        payload->insert(payload->end(), material.m_name.begin(), material.m_name.end());
        for (const std::string& name : material.m_texnames)
            payload->insert(payload->end(), name.begin(), name.end());
        put_floats(payload, material.m_ambient, 4);
        put_floats(payload, material.m_diffuse, 4);
        put_floats(payload, material.m_specular, 4);
        put_f32(payload, material.m_shininess);
        put_u32(payload, uint32_t(material.m_illum));
        put_f32(payload, material.m_opacity);
        put_f32(payload, material.m_scalar2);
    }
    return true;
}

bool bzobj_encode(const sMeshData& mesh, std::vector<uint8_t>* bytes, std::string* error) {
    bytes->clear();
    std::vector<uint8_t> payload;
    if (!bzobj_encode_payload(mesh, &payload, error))
        return false;
    if (payload.size() > 0xFFFFFFFFu) {
        *error = "payload too large for a 32-bit size";
        return false;
    }
    uLongf packed = compressBound(uLong(payload.size()));
    bytes->resize(8 + packed);
    const int code = compress(bytes->data() + 8, &packed, payload.data(), uLong(payload.size()));
    if (code != Z_OK) {
        *error = "zlib caused an error: " + std::to_string(code);
        bytes->clear();
        return false;
    }
    bytes->resize(8 + packed);
    std::vector<uint8_t> header;
    put_u32(&header, uint32_t(payload.size()));
    put_u32(&header, uint32_t(packed));
    std::copy(header.begin(), header.end(), bytes->begin());
    return true;
}

bool bzobj_write_file(const sMeshData& mesh, const std::string& path, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!bzobj_encode(mesh, &bytes, error))
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *error = "cannot open " + path + " for writing";
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!ok || !closed) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}
