// Window and GL start-up rules that need no window.
#include "capture/capture.h"
#include "display_settings.h"
#include "gl_setup.h"

#include <gtest/gtest.h>

#include <vector>

TEST(WindowTest, ViewportIsLetterboxedOrStretched) {
    cDisplaySettings* settings = cDisplaySettings::instance();
    settings->m_widescreen = false;
    int rect[4];
    settings->viewport_rect(rect);
    EXPECT_EQ(std::vector<int>(rect, rect + 4), (std::vector<int>{0, 64, 1024, 640}));
    testing::internal::CaptureStderr();
    settings->set_widescreen();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "widescreen, mmm...\n");
    settings->viewport_rect(rect);
    EXPECT_EQ(std::vector<int>(rect, rect + 4), (std::vector<int>{0, 0, 1024, 768}));
    settings->m_widescreen = false;
}

TEST(WindowTest, AttributeMismatchNamesTheFirstDifferenceOnly) {
    const int requested[9] = {8, 8, 8, 8, 24, 1, 0, 0, 0};
    EXPECT_EQ(cDisplaySettings::attribute_mismatch_text(requested, requested), "");
    const int shallow_depth[9] = {8, 8, 8, 0, 16, 1, 0, 0, 0};
    EXPECT_EQ(cDisplaySettings::attribute_mismatch_text(requested, shallow_depth),
              "# warning: init_sdl: SDL display attribute 3 failed\n"
              "requested: 8x8x8x8x24  doublebuffered  0\n"
              "recieved: 8x8x8x0x16  doublebuffered  0\n"
              "---------------------\n");
}

TEST(WindowTest, ExtensionsMatchWholeWordsOnly) {
    const char* extensions = "GL_ARB_multitexture GL_EXT_framebuffer_object_extra GL_ARB_a";
    EXPECT_TRUE(has_extension_in(extensions, "GL_ARB_multitexture"));
    EXPECT_TRUE(has_extension_in(extensions, "GL_ARB_a"));
    EXPECT_FALSE(has_extension_in(extensions, "GL_EXT_framebuffer_object"));
    EXPECT_FALSE(has_extension_in(extensions, "GL_ARB"));
    EXPECT_FALSE(has_extension_in(nullptr, "GL_ARB_a"));
}

TEST(WindowTest, CaptureFrameTimesAreRoundedDown) {
    EXPECT_EQ(cCapture::frame_time_ms(1, 60), 16);
    EXPECT_EQ(cCapture::frame_time_ms(59, 60), 983);
    EXPECT_EQ(cCapture::frame_time_ms(7, 3), 2333);
}
