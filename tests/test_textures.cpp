// The texture manager on a real context: images written with DevIL into a
// scratch folder, loaded back through the manager and drawn.
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "render_fsq.h"
#include "test_support.h"
#include "texture_manager.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {
// Red rises with x, green with y: every texel of a small image differs.
std::uint8_t red_of(int x) {
    return std::uint8_t(40 * x + 20);
}
std::uint8_t green_of(int y) {
    return std::uint8_t(45 * y + 10);
}

// Writes a w x h image, rows from the bottom up, as an 8-bit RGB or RGBA PNG
// file; returns its path.
std::string write_png(const std::string& name, int w, int h, int channels) {
    static const std::string dir = make_temp_dir("textures");
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < channels; ++c)
                pixels.push_back(c == 0 ? red_of(x) : c == 1 ? green_of(y) : 255);
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(w, h, 1, ILubyte(channels), channels == 3 ? IL_RGB : IL_RGBA, IL_UNSIGNED_BYTE,
               pixels.data());
    ilEnable(IL_FILE_OVERWRITE);
    const std::string path = dir + "/" + name;
    EXPECT_TRUE(ilSaveImage(path.c_str())) << path;
    ilDeleteImages(1, &image);
    return path;
}

GLint parameter(const cTexProxy& tex, GLenum name) {
    GLint value = 0;
    tex.bind();
    glGetTexParameteriv(tex.get_textarget(), name, &value);
    tex.unbind();
    return value;
}

// Draws a rectangle texture over a viewport of 100 x 100 pixels per texel
// and checks the centre of every texel against the image's colours. Nearest
// filtering, so that each block shows exactly one texel.
void expect_texels_drawn(const cTexProxy& tex, int w, int h) {
    tex.bind();
    glTexParameteri(tex.get_textarget(), GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(tex.get_textarget(), GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    tex.unbind();
    glViewport(0, 0, 100 * w, 100 * h);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    render_fsq(tex);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::vector<std::uint8_t> rgb = read_pixel(100 * x + 50, 100 * y + 50);
            EXPECT_EQ(rgb[0], red_of(x)) << "texel " << x << "," << y;
            EXPECT_EQ(rgb[1], green_of(y)) << "texel " << x << "," << y;
        }
}

class TextureManagerTest : public testing::Test {
protected:
    void SetUp() override { ensure_gl_context(); }
    void TearDown() override { cDisplaySettings::instance()->set_viewport(); }
    cTextureManager* manager() { return cTextureManager::instance(); }
};
} // namespace

TEST_F(TextureManagerTest, TargetAndFiltersFollowTheImageSize) {
    const GLboolean enabled_2d = glIsEnabled(GL_TEXTURE_2D);
    cTexProxy lookup =
        manager()->get_texture(write_png("lookup.png", 256, 1, 3), false, GL_CLAMP_TO_EDGE);
    ASSERT_TRUE(lookup.isValid());
    EXPECT_EQ(lookup.get_textarget(), GLenum(GL_TEXTURE_1D));
    EXPECT_EQ(parameter(lookup, GL_TEXTURE_MIN_FILTER), GL_LINEAR);

    cTexProxy mipmapped =
        manager()->get_texture(write_png("pot.png", 512, 256, 4), true, GL_REPEAT);
    EXPECT_EQ(mipmapped.get_textarget(), GLenum(GL_TEXTURE_2D));
    EXPECT_EQ(parameter(mipmapped, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);

    // One side that is no power of two makes a rectangle texture, which cannot
    // have mipmaps: the request is dropped.
    cTexProxy rect = manager()->get_texture(write_png("npot.png", 512, 480, 3), true, GL_CLAMP);
    EXPECT_EQ(rect.get_textarget(), GLenum(GL_TEXTURE_RECTANGLE_ARB));
    EXPECT_EQ(parameter(rect, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    // The upload leaves the enable state as it found it.
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_RECTANGLE_ARB));
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), enabled_2d);
}

TEST_F(TextureManagerTest, ANameIsLoadedOnceAndKeepsItsFirstWrapMode) {
    const std::string path = write_png("cached.png", 64, 32, 4);
    cTexProxy first = manager()->get_texture(path, false, GL_CLAMP_TO_EDGE);
    cTexProxy second = manager()->get_texture(path, true, GL_REPEAT);
    EXPECT_EQ(second.get_id(), first.get_id());
    EXPECT_EQ(parameter(second, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(parameter(second, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
}

TEST_F(TextureManagerTest, ImagesArriveUprightAndUnskewed) {
    // Rows of 5 RGB pixels are 15 bytes: not a multiple of GL's default row
    // alignment of 4, which the upload must not depend on.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    cTexProxy rgb = manager()->get_texture(write_png("skew.png", 5, 3, 3), false, GL_CLAMP);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    expect_texels_drawn(rgb, 5, 3);
}

TEST_F(TextureManagerTest, AnImageThatCannotBeDecodedIsReportedByName) {
    // A new name each time: the manager keeps what it loaded by its name.
    static int run = 0;
    std::string damaged = read_file_bytes(write_png("whole.png", 16, 16, 3));
    damaged[damaged.size() - 20] ^= 0x55; // inside the pixel data: its checksum fails
    const std::string path = write_temp_file("damaged" + std::to_string(run++) + ".png", damaged);
    testing::internal::CaptureStderr();
    cTexProxy tex = manager()->get_texture(path, false, GL_CLAMP);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("## ERROR: " + path + ": the image cannot be decoded"), std::string::npos)
        << err;
    EXPECT_NE(err.find("## ERROR: OpenIL Error"), std::string::npos) << err;
    EXPECT_TRUE(tex.isValid());
}

using TextureManagerDeathTest = TextureManagerTest;

TEST_F(TextureManagerDeathTest, MissingFilesEndTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(manager()->get_texture("no_such_image.png", false, GL_CLAMP),
                testing::ExitedWithCode(255),
                "## ERROR: in texture_manager.cpp line [0-9]+: file was not found in path: "
                "\"no_such_image.png\"\n");
    // A header the image library must not be trusted with ends the show as
    // a bad asset, before anything is decoded.
    std::string huge = read_file_bytes(write_png("huge.png", 4, 4, 4));
    huge.replace(16, 4, std::string("\x00\x01\x00\x00", 4)); // width 65536
    huge.replace(20, 4, std::string("\x00\x01\x00\x00", 4)); // height 65536
    // A file cut off in a chunk would have the image library read on past its end.
    const std::pair<std::string, std::string> refused[] = {{"text.png", "this is not a PNG file"},
                                                           {"huge.png", huge},
                                                           {"cut.png", huge.substr(0, 60)}};
    for (const auto& r : refused) {
        const std::string path = write_temp_file(r.first, r.second);
        EXPECT_EXIT(manager()->get_texture(path, false, GL_CLAMP), testing::ExitedWithCode(1),
                    "^## ERROR: /.+/" + r.first + ": .+ in cTextureManager::get_texture\n$");
    }
}
