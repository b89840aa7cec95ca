// Asset loading shared by the scenes: meshes ready to draw and camera paths
// found through the search paths.
#pragma once

#include <memory>
#include <string>

class cCameraPath;
class iMesh;

// A mesh by bare file name, uploaded for drawing (the in-memory copy freed).
// Without materials it draws as one range under whatever colour, light and
// shader the scene sets. A missing file ends the program.
std::unique_ptr<iMesh> load_scene_mesh(const std::string& name, bool with_materials);
// Appends the keys of a camera path found through the search paths. A path
// that cannot be read stays empty (the camera then sits at the origin); that
// is worth a warning naming the caller.
void load_scene_path(cCameraPath& path, const std::string& name, const char* where);
