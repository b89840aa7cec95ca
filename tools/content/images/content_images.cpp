#include "content_images.h"

#include "generators.h"
#include "image_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace imagegen {

const std::vector<sImageEntry>& image_catalogue() {
    static const std::vector<sImageEntry> entries = [] {
        std::vector<sImageEntry> list = {
            {"models/vantrel_intro/ifs_back.jpg", make_ifs_back},
            {"models/sunflare/sun_diffuse.jpg", make_sun_diffuse},
            {"models/sunflare/sun_flare_gasses_fade2.png", make_flare_gasses},
            {"models/sunflare/sun_flare_gradient.png", make_flare_gradient},
            {"models/sunflare/sun_particle_ambientgasses.png", make_ambient_gasses},
            {"models/sunflare/sun_color_correction_orange.png", make_orange_lookup},
            {"models/sprutte/sprutte_color_correction_coldblue.png", make_coldblue_lookup},
            {"textures/fontlist.png", make_fontlist},
            {"textures/vrklogo_full2.jpg", make_logo_full},
            {"textures/vrklogo_top.png", make_logo_top},
            {"textures/vrklogo_bottom.png", make_logo_bottom},
        };
        for (int i = 1; i <= 5; ++i)
            list.push_back({"models/sunflare/cred" + std::to_string(i) + ".png",
                            [i] { return make_credit_card(i); }});
        return list;
    }();
    return entries;
}

namespace {
std::string file_name(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}
} // namespace

bool write_images(const std::string& data_root, const std::vector<std::string>& selection,
                  std::string* error, std::FILE* log) {
    for (const std::string& wanted : selection) {
        const auto& all = image_catalogue();
        if (std::none_of(all.begin(), all.end(),
                         [&](const sImageEntry& e) { return file_name(e.path) == wanted; })) {
            *error = "no generator makes \"" + wanted + "\"";
            return false;
        }
    }
    for (const sImageEntry& entry : image_catalogue()) {
        if (!selection.empty() &&
            std::find(selection.begin(), selection.end(), file_name(entry.path)) == selection.end())
            continue;
        const std::filesystem::path target = std::filesystem::path(data_root) / entry.path;
        std::error_code ec;
        std::filesystem::create_directories(target.parent_path(), ec);
        if (ec) {
            *error = "cannot create " + target.parent_path().string() + ": " + ec.message();
            return false;
        }
        const cImage image = entry.make();
        if (!save_image(image, target.string())) {
            *error = "cannot write " + target.string();
            return false;
        }
        if (log)
            std::fprintf(log, "wrote %s (%d x %d)\n", target.string().c_str(), image.width(),
                         image.height());
    }
    return true;
}

} // namespace imagegen
