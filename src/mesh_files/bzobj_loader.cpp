#include "mesh_files/bzobj_loader.h"

#include "debug.h"
#include "mesh_files/bzobj_parser.h"
#include "read_file.h"
#include "resource_path.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <vector>

void BzObjLoader::load(const std::string& name, sMeshData* mesh) {
    const std::string path = cResourcePath::instance()->get_fullpath(name);
    if (path.empty())
        std::cerr << "# ERROR - couldn't find " << name << " from BzObjLoader::create" << std::endl;
    bobj_load_compressed(mesh, path);
}

void bobj_load_compressed(sMeshData* mesh, const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!read_file(path, &bytes)) {
        std::cerr << "# ERROR opening file " << path << " in "
                  << "bobj_load_compressed" << std::endl;
        std::exit(-1);
    }
    sBzObjError error;
    if (bzobj_parse(bytes.data(), bytes.size(), path, mesh, &error))
        return;

    // The counts and markers are the format's own invariants and stop the
    // program as assertions; each branch runs only when its check fails.
    switch (error.m_code) {
    case BZOBJ_ZLIB:
        std::cerr << "# warning: zlib caused an error: " << error.m_value << std::endl;
        std::exit(1);
    case BZOBJ_VERTEX_COUNT: {
        const int64_t no_verts = error.m_value;
        VT_ASSERT_MSG(no_verts > 0, "BzObjLoader");
        break;
    }
    case BZOBJ_FACE_COUNT: {
        const int64_t no_faces = error.m_value;
        VT_ASSERT_MSG(no_faces > 0, "BzObjLoader");
        break;
    }
    case BZOBJ_MATERIAL_COUNT: {
        const int64_t no_materials = error.m_value;
        VT_ASSERT_MSG(no_materials >= 0, "BzObjLoader");
        break;
    }
    case BZOBJ_MARKER: {
        const int64_t i = 0;
        const int64_t input_d_matID[1] = {error.m_value};
        VT_ASSERT_MSG(input_d_matID[i] >= 0, "BzObjLoader");
        break;
    }
    default:
        break;
    }
    std::cerr << "# ERROR " << error.m_message << " in bobj_load_compressed" << std::endl;
    std::exit(1);
}
