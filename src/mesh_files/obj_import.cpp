#include "mesh_files/obj_import.h"

#include "math/vec3.h"
#include "read_file.h"

#include <tiny_obj_loader.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <sstream>
#include <tuple>

// The reading itself is tinyobjloader's: its callback interface hands over
// every statement as read, so the model below keeps the file's order and the
// names of materials the libraries lack, and polygons stay whole until
// obj_build_mesh makes fans of them.

namespace {
// tinyobj only skips lines that begin with '#': a comment after a face
// would be read as more corners, one after a name as part of the name.
std::string without_comments(const char* text, std::size_t size) {
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        if (text[i] != '#')
            out += text[i];
        else
            while (i + 1 < size && text[i + 1] != '\n')
                ++i;
    }
    return out;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The line (1-based) of the n-th (0-based) statement with this keyword,
// counting only those with more words when more_words is set. tinyobj's
// callbacks do not say which line they read, so an error finds it again.
int statement_line(const std::string& text, const std::string& keyword, std::size_t n,
                   bool more_words) {
    int line = 1;
    for (std::size_t pos = 0; pos < text.size(); ++line) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::size_t word = text.find_first_not_of(" \t", pos);
        const std::size_t after = word + keyword.size();
        if (word < end && text.compare(word, keyword.size(), keyword) == 0 && after < end &&
            (text[after] == ' ' || text[after] == '\t') &&
            (!more_words || text.find_first_not_of(" \t\r", after) < end) && n-- == 0)
            return line;
        pos = end + 1;
    }
    return line;
}

// What the callbacks fill in while tinyobj reads an OBJ text. tinyobj
// cannot be stopped, so after the first error the rest is ignored.
struct sObjReading {
    explicit sObjReading(sObjModel* m) : model(m) {}

    sObjModel* model;
    int material = -1;
    std::size_t faces = 0, usemtls = 0;
    std::string error;
    std::string error_keyword;
    std::size_t error_statement = 0;

    void fail(const std::string& keyword, std::size_t statement, const std::string& what) {
        if (!error.empty())
            return;
        error = what;
        error_keyword = keyword;
        error_statement = statement;
    }
};

void add_values(sObjReading* reading, const char* keyword, std::vector<float>* out,
                std::initializer_list<float> values) {
    for (float value : values)
        if (!std::isfinite(value))
            reading->fail(keyword, out->size() / values.size(),
                          std::string("malformed ") + keyword);
    out->insert(out->end(), values);
}

void on_vertex(void* user, float x, float y, float z, float) {
    sObjReading* reading = static_cast<sObjReading*>(user);
    add_values(reading, "v", &reading->model->m_positions, {x, y, z});
}

void on_normal(void* user, float x, float y, float z) {
    sObjReading* reading = static_cast<sObjReading*>(user);
    add_values(reading, "vn", &reading->model->m_normals, {x, y, z});
}

void on_texcoord(void* user, float u, float v, float) {
    sObjReading* reading = static_cast<sObjReading*>(user);
    add_values(reading, "vt", &reading->model->m_texcoords, {u, v});
}

// An OBJ index: 1-based, or negative counting back from the last element so
// far. 0 (also what a word that is no number reads as) is no index.
bool resolve_index(int value, std::size_t count, int* index) {
    const long resolved = value > 0 ? long(value) - 1 : long(count) + value;
    if (value == 0 || resolved < 0 || resolved >= long(count))
        return false;
    *index = int(resolved);
    return true;
}

// tinyobj passes the indices as written, 0 for a part left out.
void on_face(void* user, tinyobj::index_t* indices, int count) {
    sObjReading* reading = static_cast<sObjReading*>(user);
    const sObjModel& model = *reading->model;
    const std::size_t statement = reading->faces++;
    sObjFace face;
    face.material = reading->material;
    for (int i = 0; i < count; ++i) {
        sObjCorner corner;
        const struct {
            int value;
            std::size_t count;
            const char* name;
            int* index;
        } parts[] = {{indices[i].vertex_index, model.m_positions.size() / 3, "position", &corner.v},
                     {indices[i].texcoord_index, model.m_texcoords.size() / 2, "texture coordinate",
                      &corner.vt},
                     {indices[i].normal_index, model.m_normals.size() / 3, "normal", &corner.vn}};
        for (const auto& part : parts) {
            if (part.value == 0 && part.index != &corner.v)
                continue;
            if (!resolve_index(part.value, part.count, part.index))
                return reading->fail("f", statement,
                                     "face corner " + std::to_string(i + 1) + ": " +
                                         (part.value == 0
                                              ? std::string("no position")
                                              : std::string(part.name) + " " +
                                                    std::to_string(part.value) + " of " +
                                                    std::to_string(part.count)));
        }
        face.corners.push_back(corner);
    }
    if (face.corners.size() < 3)
        return reading->fail("f", statement, "a face needs at least 3 corners");
    reading->model->m_faces.push_back(std::move(face));
}

void on_usemtl(void* user, const char* text, int) {
    sObjReading* reading = static_cast<sObjReading*>(user);
    sObjModel& model = *reading->model;
    const std::size_t statement = reading->usemtls++;
    const std::string name = trimmed(text);
    if (name.empty())
        return reading->fail("usemtl", statement, "usemtl without a name");
    reading->material = -1;
    for (std::size_t i = 0; i < model.m_material_names.size(); ++i)
        if (model.m_material_names[i] == name)
            reading->material = int(i);
    if (reading->material < 0) {
        reading->material = int(model.m_material_names.size());
        model.m_material_names.push_back(name);
    }
}

// Notes the names of material libraries; obj_import_file reads them. It
// answers "not read" so that tinyobj goes on to the next name of the same
// mtllib statement: it stops at the first library it can read.
class cLibraryNames : public tinyobj::MaterialReader {
public:
    explicit cLibraryNames(std::vector<std::string>* names) : m_names(names) {}

    bool operator()(const std::string& name, std::vector<tinyobj::material_t>*,
                    std::map<std::string, int>*, std::string*, std::string*) override {
        m_names->push_back(name);
        return false;
    }

private:
    std::vector<std::string>* m_names;
};

void copy_colour(const float* rgb, float* colour) {
    colour[0] = rgb[0];
    colour[1] = rgb[1];
    colour[2] = rgb[2];
}

Vec3f position_of(const sObjModel& model, int v) {
    const float* p = &model.m_positions[std::size_t(v) * 3];
    return Vec3f(p[0], p[1], p[2]);
}
} // namespace

void mtl_parse(const char* text, std::size_t size, std::vector<cMaterial_data>* materials) {
    // Every material starts from the zeros the format has always had:
    // tinyobj's own defaults (shininess 1, a grey diffuse colour under a
    // diffuse map, an opacity from Tr) would change what such files gave.
    std::istringstream lines(without_comments(text, size));
    std::string prepared, line;
    while (std::getline(lines, line)) {
        prepared += line + "\n";
        std::istringstream words(line);
        std::string first;
        if (words >> first && first == "newmtl")
            prepared += "Ns 0\nKd 0 0 0\nd 1\n";
    }
    std::istringstream in(prepared);
    std::map<std::string, int> names;
    std::vector<tinyobj::material_t> read;
    std::string warning, error;
    tinyobj::LoadMtl(&names, &read, &in, &warning, &error);
    for (const tinyobj::material_t& m : read) {
        if (m.name.empty()) // what comes before the first newmtl
            continue;
        cMaterial_data material(m.name);
        copy_colour(m.ambient, material.m_ambient);
        copy_colour(m.diffuse, material.m_diffuse);
        copy_colour(m.specular, material.m_specular);
        material.m_shininess = m.shininess;
        material.m_illum = m.illum;
        material.m_opacity = m.dissolve;
        material.m_texnames[MATTEX_AMBIENT] = m.ambient_texname;
        material.m_texnames[MATTEX_DIFFUSE] = m.diffuse_texname;
        material.spread_opacity();
        materials->push_back(std::move(material));
    }
}

bool obj_parse(const char* text, std::size_t size, sObjModel* model, std::string* error) {
    const std::string clean = without_comments(text, size);
    sObjReading reading(model);
    tinyobj::callback_t callbacks;
    callbacks.vertex_cb = on_vertex;
    callbacks.normal_cb = on_normal;
    callbacks.texcoord_cb = on_texcoord;
    callbacks.index_cb = on_face;
    callbacks.usemtl_cb = on_usemtl;
    cLibraryNames libraries(&model->m_mtllibs);
    std::istringstream in(clean);
    tinyobj::LoadObjWithCallback(in, callbacks, &reading, &libraries);
    if (reading.error.empty())
        return true;
    const int line = statement_line(clean, reading.error_keyword, reading.error_statement,
                                    reading.error_keyword == "f");
    *error = "line " + std::to_string(line) + ": " + reading.error;
    return false;
}

bool obj_build_mesh(const sObjModel& model, const std::vector<cMaterial_data>& library,
                    bool compute_normals, sMeshData* mesh, std::string* error,
                    std::vector<std::string>* warnings) {
    mesh->clear();
    if (model.m_faces.empty() || model.m_positions.empty()) {
        *error = "no faces";
        return false;
    }

    // Material groups in output order: faces without usemtl first, then the
    // library's order, then names the library lacks in order of first use.
    bool any_unassigned = false, any_named = false;
    for (const sObjFace& face : model.m_faces)
        (face.material < 0 ? any_unassigned : any_named) = true;
    std::vector<int> group_of_name(model.m_material_names.size(), -1);
    std::vector<cMaterial_data> groups;
    if (any_unassigned && any_named)
        groups.emplace_back("default");
    std::vector<bool> used(model.m_material_names.size(), false);
    for (const sObjFace& face : model.m_faces)
        if (face.material >= 0)
            used[std::size_t(face.material)] = true;
    for (std::size_t l = 0; l < library.size(); ++l)
        for (std::size_t n = 0; n < model.m_material_names.size(); ++n)
            if (used[n] && group_of_name[n] < 0 && library[l].m_name == model.m_material_names[n]) {
                group_of_name[n] = int(groups.size());
                groups.push_back(library[l]);
            }
    for (std::size_t n = 0; n < model.m_material_names.size(); ++n)
        if (used[n] && group_of_name[n] < 0) {
            warnings->push_back("material " + model.m_material_names[n] +
                                " is not defined; using a default material");
            group_of_name[n] = int(groups.size());
            groups.emplace_back(model.m_material_names[n]);
        }
    const int unassigned_group = 0;

    // Triangles, grouped by material, each group in file order.
    struct sTriangle {
        sObjCorner c[3];
    };
    std::vector<std::vector<sTriangle>> by_group(groups.empty() ? 1 : groups.size());
    for (const sObjFace& face : model.m_faces) {
        const int group = groups.empty()      ? 0
                          : face.material < 0 ? unassigned_group
                                              : group_of_name[std::size_t(face.material)];
        for (std::size_t k = 1; k + 1 < face.corners.size(); ++k)
            by_group[std::size_t(group)].push_back(
                {{face.corners[0], face.corners[k], face.corners[k + 1]}});
    }

    bool has_tex = false, has_norm = false, missing_norm = false;
    for (const sObjFace& face : model.m_faces)
        for (const sObjCorner& c : face.corners) {
            has_tex |= c.vt >= 0;
            has_norm |= c.vn >= 0;
            missing_norm |= c.vn < 0;
        }

    // Smooth normals per position: the sum of the adjacent faces' cross
    // products weighs each face by its area.
    std::vector<Vec3f> smooth;
    if (compute_normals && missing_norm) {
        smooth.assign(model.m_positions.size() / 3, Vec3f(0, 0, 0));
        for (const std::vector<sTriangle>& group : by_group)
            for (const sTriangle& t : group) {
                const Vec3f a = position_of(model, t.c[0].v);
                const Vec3f n =
                    (position_of(model, t.c[1].v) - a).cross(position_of(model, t.c[2].v) - a);
                for (const sObjCorner& c : t.c)
                    smooth[std::size_t(c.v)] += n;
            }
        for (Vec3f& n : smooth)
            n.normalize();
        has_norm = true;
    }

    mesh->m_flags = uint8_t((has_tex ? MESH_HAS_TEXCOORDS : 0) | (has_norm ? MESH_HAS_NORMALS : 0) |
                            (groups.empty() ? 0 : MESH_DRAW_BY_MATERIAL));
    std::map<std::tuple<int, int, int>, int32_t> vertex_of;
    mesh->m_matswitches.push_back(0);
    for (const std::vector<sTriangle>& group : by_group) {
        for (const sTriangle& t : group)
            for (const sObjCorner& c : t.c) {
                auto found = vertex_of.find(std::make_tuple(c.v, c.vt, c.vn));
                if (found != vertex_of.end()) {
                    mesh->m_indices.push_back(found->second);
                    continue;
                }
                const int32_t index = int32_t(mesh->m_pos.size() / 3);
                vertex_of.emplace(std::make_tuple(c.v, c.vt, c.vn), index);
                mesh->m_indices.push_back(index);
                const float* p = &model.m_positions[std::size_t(c.v) * 3];
                mesh->m_pos.insert(mesh->m_pos.end(), p, p + 3);
                if (has_tex) {
                    const float* uv =
                        c.vt >= 0 ? &model.m_texcoords[std::size_t(c.vt) * 2] : nullptr;
                    mesh->m_tex0.push_back(uv ? uv[0] : 0.0f);
                    mesh->m_tex0.push_back(uv ? uv[1] : 0.0f);
                }
                if (has_norm) {
                    Vec3f n(0, 0, 0);
                    if (c.vn >= 0) {
                        const float* vn = &model.m_normals[std::size_t(c.vn) * 3];
                        n = Vec3f(vn[0], vn[1], vn[2]);
                    } else if (!smooth.empty()) {
                        n = smooth[std::size_t(c.v)];
                    }
                    mesh->m_norm.insert(mesh->m_norm.end(), {n.x, n.y, n.z});
                }
            }
        if (!group.empty() && mesh->m_indices.size() != std::size_t(mesh->m_matswitches.back()))
            mesh->m_matswitches.push_back(int32_t(mesh->m_indices.size()));
    }
    mesh->m_materials = std::move(groups);
    return true;
}

bool obj_import_file(const std::string& obj_path, bool compute_normals, sMeshData* mesh,
                     std::string* error, std::vector<std::string>* warnings) {
    std::vector<unsigned char> bytes;
    if (!read_file(obj_path, &bytes)) {
        *error = "cannot read " + obj_path;
        return false;
    }
    sObjModel model;
    if (!obj_parse(reinterpret_cast<const char*>(bytes.data()), bytes.size(), &model, error)) {
        *error = obj_path + ": " + *error;
        return false;
    }
    const std::size_t slash = obj_path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : obj_path.substr(0, slash + 1);
    std::vector<cMaterial_data> library;
    for (const std::string& lib : model.m_mtllibs) {
        const std::string path = lib.size() && lib[0] == '/' ? lib : folder + lib;
        if (!read_file(path, &bytes)) {
            warnings->push_back("cannot read material library " + path);
            continue;
        }
        mtl_parse(reinterpret_cast<const char*>(bytes.data()), bytes.size(), &library);
    }
    return obj_build_mesh(model, library, compute_normals, mesh, error, warnings);
}
