// Writes the generated meshes and camera paths below a models folder
// (data/models in the tree): <root>/<scene folder>/<file>.
#pragma once
#include <string>
#include <vector>

// Writes every mesh and path; false with a reason on the first failure.
// `written` receives the paths of the files, relative to root.
bool write_models_and_paths(const std::string& root, std::vector<std::string>* written,
                            std::string* error);
