// The generated images as shipped in data/: each has the size and kind of
// texture its use needs, the font's glyphs sit in the cells the label
// drawing reads, the lookups grade the way their scenes want, and the
// generators rebuild every file byte for byte.
#include "../tools/content/images/content_images.h"
#include "../tools/content/images/image_file.h"
#include "test_support.h"
#include "texture_manager.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
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

enum class eUse {
    full_picture, // drawn with render_fsq over the 1024 x 640 frame: a rectangle texture
    mipmapped,    // requested with mipmaps: a 2D texture with power-of-two sides
    lookup,       // colour-correction lookup: 256 x 1 RGB, a 1D texture
    font,         // addressed in texels: a rectangle texture of 36 x 2 cells of 20
    band,         // laid over a strip of the frame as a 2D texture, with alpha
};

struct sUse {
    const char* path;
    eUse use;
    double band_height; // bands: the fraction of the frame's height they cover
};

// How the scenes, the GUI and the load screen use each image.
const sUse kUses[] = {{"models/vantrel_intro/ifs_back.jpg", eUse::full_picture, 0},
                      {"models/sunflare/sun_diffuse.jpg", eUse::mipmapped, 0},
                      {"models/sunflare/sun_flare_gasses_fade2.png", eUse::mipmapped, 0},
                      {"models/sunflare/sun_flare_gradient.png", eUse::mipmapped, 0},
                      {"models/sunflare/sun_particle_ambientgasses.png", eUse::mipmapped, 0},
                      {"models/sunflare/sun_color_correction_orange.png", eUse::lookup, 0},
                      {"models/sprutte/sprutte_color_correction_coldblue.png", eUse::lookup, 0},
                      {"models/sunflare/cred1.png", eUse::mipmapped, 0},
                      {"models/sunflare/cred2.png", eUse::mipmapped, 0},
                      {"models/sunflare/cred3.png", eUse::mipmapped, 0},
                      {"models/sunflare/cred4.png", eUse::mipmapped, 0},
                      {"models/sunflare/cred5.png", eUse::mipmapped, 0},
                      {"textures/fontlist.png", eUse::font, 0},
                      {"textures/vrklogo_full2.jpg", eUse::full_picture, 0},
                      {"textures/vrklogo_top.png", eUse::band, 0.2},
                      {"textures/vrklogo_bottom.png", eUse::band, 0.4}};

GLenum target_of(const sLoaded& image, bool mipmap) {
    return cTextureManager::texture_target_for(image.width, image.height, mipmap);
}

TEST(ContentImages, EachShippedImageHasTheTextureKindItsUseNeeds) {
    for (const sUse& use : kUses) {
        SCOPED_TRACE(use.path);
        const sLoaded image = load(kData + use.path);
        ASSERT_GT(image.width, 0) << "missing or undecodable";
        EXPECT_EQ(image.bytes_per_channel, 1); // the upload declares 8-bit data
        switch (use.use) {
        case eUse::full_picture:
            EXPECT_EQ(target_of(image, true), GLenum(GL_TEXTURE_RECTANGLE_ARB));
            // Same shape as the frame, so nothing is stretched.
            EXPECT_EQ(image.width * 640, image.height * 1024);
            break;
        case eUse::mipmapped:
            EXPECT_EQ(target_of(image, true), GLenum(GL_TEXTURE_2D));
            break;
        case eUse::lookup:
            EXPECT_EQ(target_of(image, false), GLenum(GL_TEXTURE_1D));
            EXPECT_EQ(image.width, 256);
            EXPECT_EQ(image.channels, 3);
            break;
        case eUse::font:
            EXPECT_EQ(target_of(image, false), GLenum(GL_TEXTURE_RECTANGLE_ARB));
            EXPECT_EQ(image.width, 36 * 20);
            EXPECT_EQ(image.height, 2 * 20);
            EXPECT_EQ(image.channels, 4);
            break;
        case eUse::band:
            EXPECT_EQ(target_of(image, false), GLenum(GL_TEXTURE_2D));
            EXPECT_EQ(image.channels, 4);
            // One texel per pixel of the 1024 x 640 frame's strip: not stretched.
            EXPECT_EQ(image.width, 1024);
            EXPECT_DOUBLE_EQ(image.height, 640 * use.band_height);
            break;
        }
    }
}

TEST(ContentImages, TheGeneratorsMakeExactlyTheImagesTheShowUses) {
    std::set<std::string> used, made;
    for (const sUse& use : kUses)
        used.insert(use.path);
    for (const imagegen::sImageEntry& entry : imagegen::image_catalogue())
        EXPECT_TRUE(made.insert(entry.path).second) << "made twice: " << entry.path;
    EXPECT_EQ(made, used);
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

    std::vector<sCell> cells = {{'-', 3, 0}, {'.', 4, 0}, {',', 6, 0}, {'(', 8, 0}, {')', 9, 0}};
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
    // Cells that no character uses stay empty.
    for (int column : {0, 1, 2, 5, 7})
        EXPECT_EQ(ink_in(font, column * 20, 0, 20, 20), 0) << "column " << column;

    // Upright as drawn: the bar of 'L' is at its foot.
    const int l_x = ('L' - 'A' + 10) * 20;
    EXPECT_GT(ink_in(font, l_x, 5, 20, 1), 2 * ink_in(font, l_x, 17, 20, 1));
}

TEST(ContentImages, LookupsRiseWithTheirInputAndCarryTheirTint) {
    struct sGrade {
        const char* path;
        int warm_channel, cold_channel; // the channel lifted most and the one held back
    };
    const sGrade grades[] = {{"models/sunflare/sun_color_correction_orange.png", 0, 2},
                             {"models/sprutte/sprutte_color_correction_coldblue.png", 2, 0}};
    for (const sGrade& grade : grades) {
        SCOPED_TRACE(grade.path);
        const sLoaded lookup = load(kData + grade.path);
        ASSERT_EQ(lookup.width * lookup.height, 256);
        for (int c = 0; c < 3; ++c) {
            EXPECT_LE(lookup.at(0, 0)[c], 2) << "black stays black";
            EXPECT_GE(lookup.at(255, 0)[c], 160) << "white stays bright";
            for (int i = 1; i < 256; ++i)
                ASSERT_GE(lookup.at(i, 0)[c], lookup.at(i - 1, 0)[c])
                    << "channel " << c << " falls at " << i;
        }
        for (int i : {64, 128, 192}) {
            const unsigned char* mid = lookup.at(i, 0);
            EXPECT_GT(mid[grade.warm_channel], mid[1]) << "at " << i;
            EXPECT_GT(mid[1], mid[grade.cold_channel]) << "at " << i;
        }
    }
}

TEST(ContentImages, LogoBandsFadeIntoThePicture) {
    const sLoaded top = load(kData + "textures/vrklogo_top.png");
    const sLoaded bottom = load(kData + "textures/vrklogo_bottom.png");
    ASSERT_TRUE(top.width == 1024 && bottom.width == 1024);
    // The edge that meets the scene is clear, so no hard line shows.
    for (int x = 0; x < 1024; x += 64) {
        EXPECT_LE(top.at(x, 0)[3], 2) << x;
        EXPECT_LE(bottom.at(x, bottom.height - 1)[3], 2) << x;
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
