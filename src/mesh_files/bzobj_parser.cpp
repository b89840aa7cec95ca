#include "mesh_files/bzobj_parser.h"

#include <cstring>
#include <vector>
#include <zlib.h>

namespace {
uint32_t get_u32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

int32_t get_i32(const uint8_t* p) {
    return int32_t(get_u32(p));
}

float get_f32(const uint8_t* p) {
    const uint32_t bits = get_u32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool fail(sBzObjError* error, const std::string& file_name, eBzObjError code, int64_t value,
          int64_t where, const std::string& what) {
    error->m_code = code;
    error->m_value = value;
    error->m_where = where;
    error->m_message = file_name + ": " + what;
    return false;
}

// A cursor over the payload that refuses to move past its end.
class cPayloadReader {
public:
    cPayloadReader(const uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool has(uint64_t bytes) const { return bytes <= m_size - m_pos; }
    const uint8_t* take(std::size_t bytes) {
        const uint8_t* p = m_data + m_pos;
        m_pos += bytes;
        return p;
    }
    std::size_t pos() const { return m_pos; }

    void floats(std::vector<float>* out, std::size_t count) {
        out->resize(count);
        const uint8_t* p = take(count * 4);
        for (std::size_t i = 0; i < count; ++i)
            (*out)[i] = get_f32(p + 4 * i);
    }

private:
    const uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

void read_colour(const uint8_t* p, float* colour) {
    for (int k = 0; k < 4; ++k)
        colour[k] = get_f32(p + 4 * k);
}

bool parse_materials(cPayloadReader& in, int32_t no_materials, const std::string& file_name,
                     sMeshData* mesh, sBzObjError* error) {
    for (int32_t m = 0; m < no_materials; ++m) {
        const std::string where =
            "material " + std::to_string(m) + " of " + std::to_string(no_materials) + " ";
        if (!in.has(6))
            return fail(error, file_name, BZOBJ_TRUNCATED, 6, m,
                        where + "is cut off before its string lengths");
        const uint8_t* lengths = in.take(6);
        std::string strings[6];
        for (int s = 0; s < 6; ++s) {
            const int len = int8_t(lengths[s]);
            if (len < 0)
                return fail(error, file_name, BZOBJ_NEGATIVE_LENGTH, len, m,
                            where + "has a negative string length " + std::to_string(len));
            if (!in.has(uint64_t(len)))
                return fail(error, file_name, BZOBJ_TRUNCATED, len, m,
                            where + "has a string of " + std::to_string(len) +
                                " bytes running past the end of the payload");
            const char* text = reinterpret_cast<const char*>(in.take(std::size_t(len)));
            // Names end at their first zero byte, as if read into a zeroed buffer.
            strings[s].assign(text, strnlen(text, std::size_t(len)));
        }
        if (!in.has(64))
            return fail(error, file_name, BZOBJ_TRUNCATED, 64, m,
                        where + "is cut off in its colours");
        mesh->m_materials.emplace_back(strings[0]);
        cMaterial_data& material = mesh->m_materials.back();
        for (int t = 0; t < MATTEX_COUNT; ++t)
            material.m_texnames[t] = strings[t + 1];
        const uint8_t* p = in.take(64);
        read_colour(p, material.m_ambient);
        read_colour(p + 16, material.m_diffuse);
        read_colour(p + 32, material.m_specular);
        material.m_shininess = get_f32(p + 48);
        material.m_illum = get_i32(p + 52);
        material.m_opacity = get_f32(p + 56);
        material.m_scalar2 = get_f32(p + 60);
    }
    return true;
}

bool parse_payload(const uint8_t* data, std::size_t size, const std::string& file_name,
                   sMeshData* mesh, sBzObjError* error) {
    cPayloadReader in(data, size);
    if (!in.has(13))
        return fail(error, file_name, BZOBJ_TRUNCATED, int64_t(size), 0,
                    "payload of " + std::to_string(size) + " bytes is too short for its counts");
    mesh->m_flags = *in.take(1);
    const int32_t no_verts = get_i32(in.take(4));
    const int32_t no_faces = get_i32(in.take(4));
    const int32_t no_materials = get_i32(in.take(4));
    if (no_verts <= 0)
        return fail(error, file_name, BZOBJ_VERTEX_COUNT, no_verts, 0,
                    "vertex count " + std::to_string(no_verts) + " is not positive");
    if (no_faces <= 0)
        return fail(error, file_name, BZOBJ_FACE_COUNT, no_faces, 0,
                    "face count " + std::to_string(no_faces) + " is not positive");
    if (no_materials < 0)
        return fail(error, file_name, BZOBJ_MATERIAL_COUNT, no_materials, 0,
                    "material count " + std::to_string(no_materials) + " is negative");

    const bool has_norm = mesh->m_flags & MESH_HAS_NORMALS;
    const bool has_tex = mesh->m_flags & MESH_HAS_TEXCOORDS;
    const uint64_t verts = uint64_t(no_verts), faces = uint64_t(no_faces);
    // Everything up to the material records has a size fixed by the counts:
    // check it once, before anything is allocated.
    const uint64_t fixed = verts * 12 + (has_norm ? verts * 12 : 0) + (has_tex ? verts * 8 : 0) +
                           faces * 12 + faces * 4;
    if (!in.has(fixed))
        return fail(error, file_name, BZOBJ_TRUNCATED, int64_t(fixed), 0,
                    std::to_string(no_verts) + " vertices and " + std::to_string(no_faces) +
                        " faces need " + std::to_string(fixed + 13) + " bytes, the payload has " +
                        std::to_string(size));

    in.floats(&mesh->m_pos, verts * 3);
    if (has_norm)
        in.floats(&mesh->m_norm, verts * 3);
    if (has_tex)
        in.floats(&mesh->m_tex0, verts * 2);

    // Each corner plane holds its first value and then the differences from
    // one face to the next. The sums wrap like 32-bit integers.
    const uint8_t* planes = in.take(faces * 12);
    mesh->m_indices.resize(faces * 3);
    for (int p = 0; p < 3; ++p) {
        const uint8_t* plane = planes + faces * 4 * p;
        uint32_t running = 0;
        for (uint64_t i = 0; i < faces; ++i) {
            running += get_u32(plane + 4 * i);
            mesh->m_indices[i * 3 + p] = int32_t(running);
        }
    }

    // A non-zero marker starts a new material range; the first face always
    // starts one, whatever its marker says.
    const uint8_t* markers = in.take(faces * 4);
    mesh->m_matswitches.push_back(0);
    for (uint64_t i = 1; i < faces; ++i) {
        const int32_t marker = get_i32(markers + 4 * i);
        if (marker < 0)
            return fail(error, file_name, BZOBJ_MARKER, marker, int64_t(i),
                        "material change marker " + std::to_string(marker) + " of face " +
                            std::to_string(i) + " is negative");
        if (marker != 0)
            mesh->m_matswitches.push_back(int32_t(i * 3));
    }
    mesh->m_matswitches.push_back(int32_t(faces * 3));

    // Drawing an index outside the vertex arrays would read outside the
    // vertex buffers.
    for (std::size_t k = 0; k < mesh->m_indices.size(); ++k) {
        const int32_t index = mesh->m_indices[k];
        if (index < 0 || index >= no_verts)
            return fail(error, file_name, BZOBJ_INDEX_RANGE, index, int64_t(k),
                        "corner " + std::to_string(k % 3) + " of face " + std::to_string(k / 3) +
                            " has vertex index " + std::to_string(index) + ", outside 0.." +
                            std::to_string(no_verts - 1));
    }

    return parse_materials(in, no_materials, file_name, mesh, error);
}
} // namespace

bool bzobj_parse_payload(const uint8_t* data, std::size_t size, const std::string& file_name,
                         sMeshData* mesh, sBzObjError* error) {
    mesh->clear();
    *error = sBzObjError();
    if (parse_payload(data, size, file_name, mesh, error))
        return true;
    mesh->clear();
    return false;
}

bool bzobj_parse(const uint8_t* data, std::size_t size, const std::string& file_name,
                 sMeshData* mesh, sBzObjError* error) {
    mesh->clear();
    *error = sBzObjError();
    if (size < 8)
        return fail(error, file_name, BZOBJ_BAD_HEADER, int64_t(size), 0,
                    "file of " + std::to_string(size) + " bytes is too short for its header");
    const uint32_t uncompressed = get_u32(data);
    const uint32_t compressed = get_u32(data + 4);
    if (compressed > size - 8)
        return fail(error, file_name, BZOBJ_BAD_HEADER, compressed, 0,
                    "compressed size " + std::to_string(compressed) + " runs past the end of the " +
                        std::to_string(size) + "-byte file");
    if (uncompressed > BZOBJ_MAX_PAYLOAD ||
        uncompressed > uint64_t(compressed) * BZOBJ_MAX_RATIO + 1024)
        return fail(error, file_name, BZOBJ_TOO_LARGE, uncompressed, 0,
                    "uncompressed size " + std::to_string(uncompressed) +
                        " is more than a stream of " + std::to_string(compressed) +
                        " bytes can hold");

    std::vector<uint8_t> payload(uncompressed);
    uLongf inflated = uncompressed;
    const int code = uncompress(payload.data(), &inflated, data + 8, compressed);
    if (code != Z_OK)
        return fail(error, file_name, BZOBJ_ZLIB, code, 0,
                    "zlib caused an error: " + std::to_string(code));
    // A stream shorter than its header says leaves the rest unset: only what
    // was inflated is read.
    return bzobj_parse_payload(payload.data(), inflated, file_name, mesh, error);
}
