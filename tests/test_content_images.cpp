// The generated images as shipped in data/: each has the size and kind of
// texture its use needs, the font's glyphs sit in the cells the label
// drawing reads, and the generators rebuild every file byte for byte.
#include "../tools/content/images/content_images.h"
#include "../tools/content/images/image_file.h"
#include "test_support.h"
#include "texture_manager.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

const std::string kData = std::string(VANTREL_SOURCE_DIR) + "/data/";

// A decoded file, rows from the bottom up as the program sees them.
struct sLoaded {
    int width = 0, height = 0, channels = 0, bytes_per_channel = 0;
    std::vector<unsigned char> pixels;

    const unsigned char* at(int x, int y) const {
        return &pixels[(std::size_t(y) * std::size_t(width) + std::size_t(x)) *
                       std::size_t(channels)];
    }
};

sLoaded load(const std::string& path) {
    imagegen::init_image_library();
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    sLoaded image;
    if (ilLoadImage(path.c_str()) == IL_TRUE) {
        image.width = ilGetInteger(IL_IMAGE_WIDTH);
        image.height = ilGetInteger(IL_IMAGE_HEIGHT);
        image.channels = ilGetInteger(IL_IMAGE_BPP);
        image.bytes_per_channel = ilGetInteger(IL_IMAGE_BPC);
        const unsigned char* data = ilGetData();
        image.pixels.assign(data, data + std::size_t(image.width) * std::size_t(image.height) *
                                             std::size_t(image.channels));
    }
    ilDeleteImages(1, &name);
    while (ilGetError() != IL_NO_ERROR) {
    }
    return image;
}

// How the scenes, the GUI and the load screen use each image: the texture
// target its size gives it, whether mipmaps are asked for, and the size and
// channels its use needs (0: any).
struct sUse {
    const char* path;
    GLenum target;
    bool mipmap;
    int width, height, channels;
};
// Pictures over the whole 1024 x 640 frame and the logo bands over strips of
// it have one texel per pixel; colour lookups are 256 x 1 RGB; the font is
// 36 x 2 cells of 20 texels, addressed in texels.
constexpr GLenum kRect = GL_TEXTURE_RECTANGLE_ARB, k2D = GL_TEXTURE_2D;
const sUse kUses[] = {
    {"models/vantrel_intro/ifs_back.jpg", kRect, true, 1024, 640, 0},
    {"models/sunflare/sun_diffuse.jpg", k2D, true, 0, 0, 0},
    {"models/sunflare/sun_flare_gasses_fade2.png", k2D, true, 0, 0, 0},
    {"models/sunflare/sun_flare_gradient.png", k2D, true, 0, 0, 0},
    {"models/sunflare/sun_particle_ambientgasses.png", k2D, true, 0, 0, 0},
    {"models/sunflare/sun_color_correction_orange.png", GL_TEXTURE_1D, false, 256, 1, 3},
    {"models/sprutte/sprutte_color_correction_coldblue.png", GL_TEXTURE_1D, false, 256, 1, 3},
    {"models/sunflare/cred1.png", k2D, true, 0, 0, 0},
    {"models/sunflare/cred2.png", k2D, true, 0, 0, 0},
    {"models/sunflare/cred3.png", k2D, true, 0, 0, 0},
    {"models/sunflare/cred4.png", k2D, true, 0, 0, 0},
    {"models/sunflare/cred5.png", k2D, true, 0, 0, 0},
    {"textures/fontlist.png", kRect, false, 36 * 20, 2 * 20, 4},
    {"textures/vrklogo_full2.jpg", kRect, true, 1024, 640, 0},
    {"textures/vrklogo_top.png", k2D, false, 1024, 128, 4},
    {"textures/vrklogo_bottom.png", k2D, false, 1024, 256, 4}};

TEST(ContentImages, EachShippedImageHasTheTextureKindItsUseNeeds) {
    for (const sUse& use : kUses) {
        SCOPED_TRACE(use.path);
        const sLoaded image = load(kData + use.path);
        ASSERT_GT(image.width, 0) << "missing or undecodable";
        EXPECT_EQ(image.bytes_per_channel, 1); // the upload declares 8-bit data
        bool mipmap = use.mipmap;
        EXPECT_EQ(cTextureManager::texture_target_for(image.width, image.height, mipmap),
                  use.target);
        for (const auto& want :
             {std::make_pair(image.width, use.width), std::make_pair(image.height, use.height),
              std::make_pair(image.channels, use.channels)})
            if (want.second != 0) {
                EXPECT_EQ(want.first, want.second);
            }
    }
}

// The cell of a character in the font, as the label drawing addresses it:
// column and row of 20 x 20 texels, row 0 at the bottom of the picture.
struct sCell {
    char c;
    int column, row;
};

int ink_in(const sLoaded& font, int x0, int y0, int w, int h) {
    int ink = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            ink += font.at(x, y)[3] > 0 ? 1 : 0;
    return ink;
}

TEST(ContentImages, FontGlyphsSitInTheCellsTheLabelsRead) {
    const sLoaded font = load(kData + "textures/fontlist.png");
    ASSERT_EQ(font.width * font.height, 720 * 40);

    std::vector<sCell> cells = {{'-', 3, 0}, {'.', 4, 0}, {',', 6, 0},
                                {':', 7, 0}, {'(', 8, 0}, {')', 9, 0}};
    for (int i = 0; i < 10; ++i)
        cells.push_back({char('0' + i), i, 1});
    for (int i = 0; i < 26; ++i) {
        cells.push_back({char('a' + i), 10 + i, 1});
        cells.push_back({char('A' + i), 10 + i, 0});
    }
    for (const sCell& cell : cells) {
        SCOPED_TRACE(std::string("glyph '") + cell.c + "'");
        const int x = cell.column * 20, y = cell.row * 20;
        EXPECT_GT(ink_in(font, x, y, 20, 20), 0);
        // A clear border inside the cell: filtering never pulls in a neighbour.
        EXPECT_EQ(ink_in(font, x, y, 20, 20), ink_in(font, x + 1, y + 1, 18, 18));
    }
}

TEST(ContentImages, RebuildGivesTheShippedFilesByteForByte) {
    const std::string dir = make_temp_dir("content_images");
    std::string error;
    ASSERT_TRUE(imagegen::write_images(dir, {}, &error)) << error;
    for (const imagegen::sImageEntry& entry : imagegen::image_catalogue()) {
        SCOPED_TRACE(entry.path);
        const std::string rebuilt = read_file_bytes(dir + "/" + entry.path);
        EXPECT_FALSE(rebuilt.empty());
        EXPECT_TRUE(rebuilt == read_file_bytes(kData + entry.path))
            << "differs from the shipped file: rerun scripts/make_images.sh";
    }
    EXPECT_FALSE(imagegen::write_images(dir, {"no_such_image.png"}, &error));
    EXPECT_NE(error.find("no_such_image.png"), std::string::npos);
}

} // namespace
