// Writing generated images to disk with DevIL, the library the program
// reads them with. The file type follows the name's ending (.png or .jpg).
#pragma once

#include "image.h"

#include <string>

namespace imagegen {

// Starts DevIL once per process, with the program's lower-left origin, so
// that rows go to the file bottom row last as viewers expect.
void init_image_library();

// Writes the image (RGB or RGBA as it says; a JPEG always RGB) and returns
// whether that worked. PNG files carry no time stamp and JPEG files are
// written at a fixed quality, so equal images give equal files.
bool save_image(const cImage& image, const std::string& path);

} // namespace imagegen
