// The catalogue of generated images: where each file goes under data/ and
// the generator that paints it, and the writer that makes the files.
#pragma once

#include "image.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace imagegen {

struct sImageEntry {
    std::string path; // relative to the data folder, e.g. "textures/fontlist.png"
    std::function<cImage()> make;
};

// Every image the generators make, in a fixed order.
const std::vector<sImageEntry>& image_catalogue();

// Writes the catalogue's images below data_root (creating folders as
// needed). With a non-empty selection only the entries whose file name (the
// last path component) is listed are written. Prints one line per file to
// log when it is set; returns false and says why in *error on the first
// failure or an unknown name.
bool write_images(const std::string& data_root, const std::vector<std::string>& selection,
                  std::string* error, std::FILE* log = nullptr);

} // namespace imagegen
