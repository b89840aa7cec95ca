// vantrel-tool obj2bzobj, bzobj and pth: make meshes for the show and look
// into its meshes and camera paths as the program reads them.
#include "tool_commands.h"

#include "mesh_files/bzobj_loader.h"
#include "mesh_files/bzobj_parser.h"
#include "mesh_files/bzobj_writer.h"
#include "mesh_files/camera_path.h"
#include "mesh_files/obj_import.h"
#include "read_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {
void print_floats(const float* v, int count) {
    for (int i = 0; i < count; ++i)
        std::cout << (i ? " " : "") << v[i];
}

void print_vec(const char* label, const Vec3f& v) {
    std::cout << ' ' << label << ' ' << v.x << ' ' << v.y << ' ' << v.z;
}

bool parse_time(const char* text, float* t) {
    char* end = nullptr;
    *t = std::strtof(text, &end);
    return end != text && *end == '\0';
}
} // namespace

int tool_obj2bzobj(int argc, char** argv) {
    std::vector<std::string> files;
    bool normals = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--normals") == 0)
            normals = true;
        else
            files.push_back(argv[i]);
    }
    if (files.size() != 2) {
        std::cerr << "usage: vantrel-tool obj2bzobj IN.obj OUT.bzobj [--normals]\n";
        return 2;
    }
    sMeshData mesh;
    std::string error;
    std::vector<std::string> warnings;
    const bool imported = obj_import_file(files[0], normals, &mesh, &error, &warnings);
    for (const std::string& warning : warnings)
        std::cerr << "# warning: " << warning << "\n";
    if (!imported || !bzobj_write_file(mesh, files[1], &error)) {
        std::cerr << "# ERROR " << error << " in vantrel-tool obj2bzobj\n";
        return 1;
    }
    std::cout << files[1] << ": " << mesh.vertex_count() << " vertices, " << mesh.face_count()
              << " faces, " << mesh.m_materials.size() << " materials\n";
    return 0;
}

int tool_bzobj(int argc, char** argv) {
    if (argc != 1) {
        std::cerr << "usage: vantrel-tool bzobj FILE\n";
        return 2;
    }
    const std::string path = argv[0];
    std::vector<unsigned char> bytes;
    if (!read_file(path, &bytes)) {
        std::cerr << "# ERROR opening file " << path << " in bobj_load_compressed\n";
        return 1;
    }
    sMeshData mesh;
    std::string report;
    if (!bobj_read(bytes.data(), bytes.size(), path, &mesh, &report)) {
        std::cerr << report << "\n";
        return 1;
    }
    std::cout << "flags 0x" << std::hex << int(mesh.m_flags) << std::dec << " (";
    std::cout << (mesh.m_flags & MESH_HAS_TEXCOORDS ? "texcoords" : "no texcoords") << ", "
              << (mesh.m_flags & MESH_HAS_NORMALS ? "normals" : "no normals") << ", "
              << (mesh.m_flags & MESH_DRAW_BY_MATERIAL ? "by material" : "one range") << ")\n";
    std::cout << "vertices " << mesh.vertex_count() << "\nfaces " << mesh.face_count()
              << "\nmaterials " << mesh.m_materials.size() << "\nswitches";
    for (int32_t s : mesh.m_matswitches)
        std::cout << ' ' << s;
    std::cout << '\n';
    for (std::size_t m = 0; m < mesh.m_materials.size(); ++m) {
        const cMaterial_data& mat = mesh.m_materials[m];
        std::cout << "material " << m << " \"" << mat.m_name << "\"\n  textures";
        for (const std::string& name : mat.m_texnames)
            std::cout << " \"" << name << '"';
        std::cout << "\n  ambient ";
        print_floats(mat.m_ambient, 4);
        std::cout << "\n  diffuse ";
        print_floats(mat.m_diffuse, 4);
        std::cout << "\n  specular ";
        print_floats(mat.m_specular, 4);
        std::cout << "\n  shininess " << mat.m_shininess << "\n  illum " << mat.m_illum
                  << "\n  opacity " << mat.m_opacity << '\n';
    }
    float lo[3], hi[3];
    for (int k = 0; k < 3; ++k)
        lo[k] = hi[k] = mesh.m_pos[std::size_t(k)];
    for (std::size_t i = 0; i < mesh.m_pos.size(); ++i) {
        lo[i % 3] = std::min(lo[i % 3], mesh.m_pos[i]);
        hi[i % 3] = std::max(hi[i % 3], mesh.m_pos[i]);
    }
    std::cout << "bounds ";
    print_floats(lo, 3);
    std::cout << " .. ";
    print_floats(hi, 3);
    std::cout << '\n';
    return 0;
}

int tool_pth(int argc, char** argv) {
    if (argc < 1) {
        std::cerr << "usage: vantrel-tool pth FILE [T ...]\n";
        return 2;
    }
    std::vector<float> times;
    for (int i = 1; i < argc; ++i) {
        float t;
        if (!parse_time(argv[i], &t)) {
            std::cerr << "vantrel-tool: pth needs numbers for T, not \"" << argv[i] << "\"\n";
            return 2;
        }
        times.push_back(t);
    }
    cCameraPath path;
    if (!path.load(argv[0])) {
        std::cerr << "# ERROR opening file " << argv[0] << " in vantrel-tool pth\n";
        return 1;
    }
    std::cout << "keys " << path.size() << '\n';
    for (std::size_t k = 0; k < path.size(); ++k) {
        const sCameraKey& key = path.keys()[k];
        std::cout << "key " << k;
        print_vec("eye", key.eye);
        print_vec("target", key.target);
        print_vec("up", key.up);
        std::cout << '\n';
    }
    for (float t : times) {
        std::cout << "t " << t;
        print_vec("eye", path.eye_at(t));
        print_vec("target", path.target_at(t));
        print_vec("up", path.up_at(t));
        std::cout << '\n';
    }
    return 0;
}
