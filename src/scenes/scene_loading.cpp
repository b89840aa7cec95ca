#include "scenes/scene_loading.h"

#include "mesh_files/bzobj_loader.h"
#include "mesh_files/camera_path.h"
#include "mesh_files/mesh_obj.h"
#include "resource_path.h"

#include <iostream>

std::unique_ptr<iMesh> load_scene_mesh(const std::string& name, bool with_materials) {
    std::unique_ptr<cMeshObj> mesh =
        with_materials ? BzObjLoader::create(name) : BzObjLoader::create_without_materials(name);
    mesh->upload(true);
    return mesh;
}

void load_scene_path(cCameraPath& path, const std::string& name, const char* where) {
    if (!path.load(cResourcePath::instance()->get_fullpath(name)))
        std::cerr << "# warning: camera path \"" << name << "\" could not be read in " << where
                  << std::endl;
}
