#include "scenes/scene_loading.h"

#include "debug.h"
#include "mesh_files/bzobj_loader.h"
#include "mesh_files/camera_path.h"
#include "mesh_files/mesh_obj.h"
#include "resource_path.h"

#include <iostream>

iMesh* load_scene_mesh(const std::string& name, bool with_materials) {
    iMesh* mesh = BzObjLoader::create(name);
    if (!with_materials) {
        auto* obj = dynamic_cast<cMeshObj*>(mesh);
        VT_ASSERT(obj);
        obj->switch_materials_off();
    }
    mesh->upload(true);
    return mesh;
}

void load_scene_path(cCameraPath& path, const std::string& name, const char* where) {
    if (!path.load(cResourcePath::instance()->get_fullpath(name)))
        std::cerr << "# warning: camera path \"" << name << "\" could not be read in " << where
                  << std::endl;
}
