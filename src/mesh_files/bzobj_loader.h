// Loads the show's .bzobj meshes by bare file name. Unlike the parser, the
// loader treats a bad file as the end of the show: it prints why and ends the
// process, since a scene cannot go on without its geometry.
#pragma once

#include "mesh_files/mesh_data.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class cMeshObj;

class BzObjLoader {
public:
    // Finds the bare file name through the resource search paths and reads
    // it into the mesh. A name that is not found is reported and then read
    // as "", which ends the process at the open.
    static void load(const std::string& name, sMeshData* mesh);
    // A new mesh from a bare file name, with its materials' textures
    // fetched; drawn with GL, so it lives with the mesh classes. Not yet
    // uploaded.
    static std::unique_ptr<cMeshObj> create(const std::string& name);
    // The same with its materials switched off: it draws as one range under
    // whatever colour, light and shader the caller sets.
    static std::unique_ptr<cMeshObj> create_without_materials(const std::string& name);
};

// Reads the file at a full path into the mesh; returns only with a mesh:
//  - a file that cannot be opened: "# ERROR opening file <path> in bobj_load_compressed",
//    exit status -1;
//  - a damaged file: the line of bobj_read, exit status 1.
void bobj_load_compressed(sMeshData* mesh, const std::string& path);

// What bobj_load_compressed does with the file's bytes, without ending the
// process. False for a file that cannot be used; *report is then the line
// that says why, naming the file:
//  - zlib fails: "# warning: zlib caused an error: <code> in <path>";
//  - anything else (counts out of range, a negative material marker, sizes
//    past the end, negative string lengths, indices outside the vertices):
//    "# ERROR <path>: <what> in bobj_load_compressed".
bool bobj_read(const uint8_t* data, std::size_t size, const std::string& path, sMeshData* mesh,
               std::string* report);
