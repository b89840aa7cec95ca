// vantrel-make-images: paints every generated image of the show and writes
// it below a data folder.
//
//   vantrel-make-images DATA_DIR [FILE_NAME ...]
//
// With file names (such as fontlist.png) only those images are written.
#include "content_images.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help") {
        std::fprintf(argc < 2 ? stderr : stdout,
                     "usage: vantrel-make-images DATA_DIR [FILE_NAME ...]\n"
                     "Writes the generated images below DATA_DIR (models/..., textures/...).\n");
        return argc < 2 ? 1 : 0;
    }
    const std::vector<std::string> selection(argv + 2, argv + argc);
    std::string error;
    if (!imagegen::write_images(argv[1], selection, &error, stdout)) {
        std::fprintf(stderr, "vantrel-make-images: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
