// vantrel-make-models: writes the show's meshes, camera paths and the credits
// room's baked lightmaps below a models folder.
//
//   vantrel-make-models [--no-lightmaps] ROOT     (ROOT is normally data/models)
#include "content_writer.h"
#include "lightmap_bake.h"
#include "models.h"

#include <IL/il.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
bool write_jpeg(const std::string& path, int size, const std::vector<uint8_t>& rgb) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    // Row 0 is v = 0; the image lies with its origin at the lower left, as
    // the texture manager loads it.
    bool ok = ilTexImage(ILuint(size), ILuint(size), 1, 3, IL_RGB, IL_UNSIGNED_BYTE,
                         const_cast<uint8_t*>(rgb.data())) == IL_TRUE;
    ok = ok && ilSave(IL_JPG, path.c_str()) == IL_TRUE;
    ilDeleteImages(1, &image);
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    bool lightmaps = true;
    const char* root = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--no-lightmaps"))
            lightmaps = false;
        else if (argv[i][0] == '-' || root) {
            std::fprintf(stderr, "usage: vantrel-make-models [--no-lightmaps] ROOT\n");
            return 2;
        } else
            root = argv[i];
    }
    if (!root) {
        std::fprintf(stderr, "usage: vantrel-make-models [--no-lightmaps] ROOT\n");
        return 2;
    }
    std::vector<std::string> written;
    std::string error;
    if (!write_models_and_paths(root, &written, &error)) {
        std::fprintf(stderr, "vantrel-make-models: %s\n", error.c_str());
        return 1;
    }
    for (const std::string& rel : written)
        std::printf("%s/%s\n", root, rel.c_str());
    if (!lightmaps)
        return 0;
    ilInit();
    ilEnable(IL_FILE_OVERWRITE);
    ilSetInteger(IL_JPG_QUALITY, 92);
    const std::vector<sRoomPart> room = build_room();
    const std::vector<sLightmapPair> maps = bake_room(room, sBakeSettings());
    for (std::size_t p = 0; p < room.size(); ++p) {
        for (int on = 0; on < 2; ++on) {
            const std::string path = std::string(root) + "/credits/" + room[p].m_map_stem +
                                     (on ? "VRayCompleteMap_on.jpg" : "VRayCompleteMap_off.jpg");
            if (!write_jpeg(path, maps[p].m_size, on ? maps[p].m_on : maps[p].m_off)) {
                std::fprintf(stderr, "vantrel-make-models: cannot write %s\n", path.c_str());
                return 1;
            }
            std::printf("%s\n", path.c_str());
        }
    }
    return 0;
}
