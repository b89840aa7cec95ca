#include "image_file.h"

#include "debug.h"

#include <IL/il.h>

#include <vector>

namespace imagegen {

namespace {
constexpr ILint kJpegQuality = 92;

bool ends_with(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}
} // namespace

void init_image_library() {
    static bool started = false;
    if (started)
        return;
    ilInit();
    ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
    ilEnable(IL_ORIGIN_SET);
    ilEnable(IL_FILE_OVERWRITE);
    started = true;
}

bool save_image(const cImage& image, const std::string& path) {
    init_image_library();
    const bool jpeg = ends_with(path, ".jpg");
    VT_ASSERT_MSG(jpeg || ends_with(path, ".png"), "images are written as .png or .jpg");
    VT_ASSERT_MSG(!jpeg || image.channels() == 3, "a JPEG image has no alpha");

    std::vector<std::uint8_t> bytes = image.to_bytes();
    while (ilGetError() != IL_NO_ERROR) {
        // Earlier errors are not this write's.
    }
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    // Rows start at the bottom: DevIL's default origin for a new image is the
    // lower left, the same as the program's, and the writers flip for the file.
    bool ok = ilTexImage(ILuint(image.width()), ILuint(image.height()), 1,
                         ILubyte(image.channels()), image.channels() == 4 ? IL_RGBA : IL_RGB,
                         IL_UNSIGNED_BYTE, bytes.data()) == IL_TRUE;
    if (ok) {
        ilSetInteger(IL_JPG_QUALITY, kJpegQuality);
        ok = ilSave(jpeg ? IL_JPG : IL_PNG, path.c_str()) == IL_TRUE;
    }
    ilDeleteImages(1, &name);
    while (ilGetError() != IL_NO_ERROR)
        ok = false;
    return ok;
}

} // namespace imagegen
