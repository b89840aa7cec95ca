#include "mesh_files/bzobj_loader.h"

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
    std::string report;
    if (bobj_read(bytes.data(), bytes.size(), path, mesh, &report))
        return;
    std::cerr << report << std::endl;
    std::exit(1);
}

bool bobj_read(const uint8_t* data, std::size_t size, const std::string& path, sMeshData* mesh,
               std::string* report) {
    sBzObjError error;
    if (bzobj_parse(data, size, path, mesh, &error))
        return true;
    // Counts and markers come from the file: a bad one is a damaged file like
    // any other, not a fault of the program.
    if (error.m_code == BZOBJ_ZLIB)
        *report =
            "# warning: zlib caused an error: " + std::to_string(error.m_value) + " in " + path;
    else
        *report = "# ERROR " + error.m_message + " in bobj_load_compressed";
    return false;
}
