#include "mesh_files/obj_import.h"

#include "math/vec3.h"
#include "read_file.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <tuple>

namespace {
// Splits text into lines without their line ends and comments, and lines
// into white-space separated words.
class cLineReader {
public:
    cLineReader(const char* text, std::size_t size) : m_text(text), m_size(size) {}

    bool next(std::vector<std::string>* words) {
        words->clear();
        if (m_pos >= m_size)
            return false;
        ++m_line;
        std::string word;
        bool comment = false;
        while (m_pos < m_size && m_text[m_pos] != '\n') {
            const char c = m_text[m_pos++];
            if (c == '#')
                comment = true;
            if (comment)
                continue;
            if (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f') {
                if (!word.empty())
                    words->push_back(std::move(word));
                word.clear();
            } else {
                word += c;
            }
        }
        if (!word.empty())
            words->push_back(std::move(word));
        ++m_pos; // the line end
        return true;
    }

    int line() const { return m_line; }

private:
    const char* m_text;
    std::size_t m_size;
    std::size_t m_pos = 0;
    int m_line = 0;
};

bool to_float(const std::string& word, float* value) {
    const char* begin = word.c_str();
    char* end = nullptr;
    *value = std::strtof(begin, &end);
    return end != begin && *end == '\0' && std::isfinite(*value);
}

bool to_int(const std::string& word, long* value) {
    const char* begin = word.c_str();
    char* end = nullptr;
    *value = std::strtol(begin, &end, 10);
    return end != begin && *end == '\0';
}

std::string at_line(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

// Reads `count` floats from words[1..]; a missing fourth (w) component is fine.
bool read_floats(const std::vector<std::string>& words, std::size_t count,
                 std::vector<float>* out) {
    if (words.size() < count + 1)
        return false;
    for (std::size_t i = 1; i <= count; ++i) {
        float value;
        if (!to_float(words[i], &value))
            return false;
        out->push_back(value);
    }
    return true;
}

bool read_colour(const std::vector<std::string>& words, float* colour) {
    std::vector<float> rgb;
    if (!read_floats(words, 3, &rgb))
        return false;
    colour[0] = rgb[0];
    colour[1] = rgb[1];
    colour[2] = rgb[2];
    colour[3] = 1.0f;
    return true;
}

// An OBJ index: 1-based, or negative counting back from the last element so far.
bool resolve_index(const std::string& word, std::size_t count, int* index) {
    long value;
    if (!to_int(word, &value) || value == 0)
        return false;
    const long resolved = value > 0 ? value - 1 : long(count) + value;
    if (resolved < 0 || resolved >= long(count))
        return false;
    *index = int(resolved);
    return true;
}

bool parse_corner(const std::string& word, const sObjModel& model, sObjCorner* corner) {
    std::string parts[3];
    int part = 0;
    for (char c : word) {
        if (c == '/') {
            if (++part > 2)
                return false;
        } else {
            parts[part] += c;
        }
    }
    if (!resolve_index(parts[0], model.m_positions.size() / 3, &corner->v))
        return false;
    if (!parts[1].empty() && !resolve_index(parts[1], model.m_texcoords.size() / 2, &corner->vt))
        return false;
    if (!parts[2].empty() && !resolve_index(parts[2], model.m_normals.size() / 3, &corner->vn))
        return false;
    return true;
}

Vec3f position_of(const sObjModel& model, int v) {
    const float* p = &model.m_positions[std::size_t(v) * 3];
    return Vec3f(p[0], p[1], p[2]);
}
} // namespace

bool mtl_parse(const char* text, std::size_t size, std::vector<cMaterial_data>* materials,
               std::string* error) {
    cLineReader in(text, size);
    std::vector<std::string> words;
    const std::size_t first = materials->size();
    cMaterial_data* current = nullptr;
    while (in.next(&words)) {
        if (words.empty())
            continue;
        const std::string& key = words[0];
        if (key == "newmtl") {
            if (words.size() < 2) {
                *error = at_line(in.line(), "newmtl without a name");
                return false;
            }
            materials->emplace_back(words[1]);
            current = &materials->back();
            continue;
        }
        const bool known = key == "Ka" || key == "Kd" || key == "Ks" || key == "Ns" ||
                           key == "illum" || key == "d" || key == "map_Ka" || key == "map_Kd";
        if (!known)
            continue;
        if (!current) {
            *error = at_line(in.line(), key + " before any newmtl");
            return false;
        }
        bool ok = true;
        std::vector<float> one;
        if (key == "Ka")
            ok = read_colour(words, current->m_ambient);
        else if (key == "Kd")
            ok = read_colour(words, current->m_diffuse);
        else if (key == "Ks")
            ok = read_colour(words, current->m_specular);
        else if (key == "Ns")
            ok = read_floats(words, 1, &one) && (current->m_shininess = one[0], true);
        else if (key == "d")
            ok = read_floats(words, 1, &one) && (current->m_opacity = one[0], true);
        else if (key == "illum") {
            long value = 0;
            ok = words.size() >= 2 && to_int(words[1], &value) && value >= INT32_MIN &&
                 value <= INT32_MAX;
            current->m_illum = int32_t(value);
        } else {
            // Options such as "-s 1 1 1" come before the file name.
            ok = words.size() >= 2;
            if (ok)
                current->m_texnames[key == "map_Ka" ? MATTEX_AMBIENT : MATTEX_DIFFUSE] =
                    words.back();
        }
        if (!ok) {
            *error = at_line(in.line(), "malformed " + key);
            return false;
        }
    }
    for (std::size_t i = first; i < materials->size(); ++i)
        (*materials)[i].spread_opacity();
    return true;
}

bool obj_parse(const char* text, std::size_t size, sObjModel* model, std::string* error) {
    cLineReader in(text, size);
    std::vector<std::string> words;
    int material = -1;
    while (in.next(&words)) {
        if (words.empty())
            continue;
        const std::string& key = words[0];
        if (key == "v" || key == "vn" || key == "vt") {
            std::vector<float>* out = key == "v"    ? &model->m_positions
                                      : key == "vn" ? &model->m_normals
                                                    : &model->m_texcoords;
            if (!read_floats(words, key == "vt" ? 2 : 3, out)) {
                *error = at_line(in.line(), "malformed " + key);
                return false;
            }
        } else if (key == "f") {
            sObjFace face;
            face.material = material;
            for (std::size_t i = 1; i < words.size(); ++i) {
                sObjCorner corner;
                if (!parse_corner(words[i], *model, &corner)) {
                    *error = at_line(in.line(), "bad face corner \"" + words[i] + "\"");
                    return false;
                }
                face.corners.push_back(corner);
            }
            if (face.corners.size() < 3) {
                *error = at_line(in.line(), "a face needs at least 3 corners");
                return false;
            }
            model->m_faces.push_back(std::move(face));
        } else if (key == "usemtl") {
            if (words.size() < 2) {
                *error = at_line(in.line(), "usemtl without a name");
                return false;
            }
            material = -1;
            for (std::size_t i = 0; i < model->m_material_names.size(); ++i)
                if (model->m_material_names[i] == words[1])
                    material = int(i);
            if (material < 0) {
                material = int(model->m_material_names.size());
                model->m_material_names.push_back(words[1]);
            }
        } else if (key == "mtllib") {
            for (std::size_t i = 1; i < words.size(); ++i)
                model->m_mtllibs.push_back(words[i]);
        }
    }
    return true;
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
        if (!mtl_parse(reinterpret_cast<const char*>(bytes.data()), bytes.size(), &library,
                       error)) {
            *error = path + ": " + *error;
            return false;
        }
    }
    return obj_build_mesh(model, library, compute_normals, mesh, error, warnings);
}
