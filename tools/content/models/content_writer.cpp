#include "content_writer.h"

#include "mesh_files/bzobj_writer.h"
#include "models.h"
#include "paths.h"

#include <cstdio>
#include <sys/stat.h>

namespace {
bool ensure_folder(const std::string& path, std::string* error) {
    if (mkdir(path.c_str(), 0755) == 0)
        return true;
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return true;
    *error = "cannot create folder " + path;
    return false;
}
} // namespace

bool write_models_and_paths(const std::string& root, std::vector<std::string>* written,
                            std::string* error) {
    if (!ensure_folder(root, error))
        return false;
    for (const sModelFile& model : build_models()) {
        if (!ensure_folder(root + "/" + model.m_folder, error))
            return false;
        const std::string rel = model.m_folder + "/" + model.m_name;
        if (!bzobj_write_file(model.m_mesh, root + "/" + rel, error))
            return false;
        written->push_back(rel);
    }
    for (const sPathFile& path : build_paths()) {
        if (!ensure_folder(root + "/" + path.m_folder, error))
            return false;
        const std::string rel = path.m_folder + "/" + path.m_name;
        std::FILE* f = std::fopen((root + "/" + rel).c_str(), "wb");
        if (!f) {
            *error = "cannot write " + root + "/" + rel;
            return false;
        }
        const bool ok =
            std::fwrite(path.m_text.data(), 1, path.m_text.size(), f) == path.m_text.size();
        if (std::fclose(f) != 0 || !ok) {
            *error = "cannot write " + root + "/" + rel;
            return false;
        }
        written->push_back(rel);
    }
    return true;
}
