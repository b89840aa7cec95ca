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

// The picture as the largest 1.6 rectangle in the frame, centred, and the
// frame centred on a larger full screen.
TEST(WindowTest, PictureIsLetterboxedOrPillarboxedInTheFrame) {
    struct sCase {
        const char* name;
        int screen[2], frame[2];
        bool widescreen;
        std::vector<int> viewport;
    };
    const sCase cases[] = {
        {"4:3", {640, 480}, {640, 480}, false, {0, 40, 640, 400}},
        {"16:10", {1280, 800}, {1280, 800}, false, {0, 0, 1280, 800}},
        {"16:9", {1920, 1080}, {1920, 1080}, false, {96, 0, 1728, 1080}},
        {"16:9 stretched", {1920, 1080}, {1920, 1080}, true, {0, 0, 1920, 1080}},
        {"odd 16:9", {1366, 768}, {1366, 768}, false, {69, 0, 1228, 768}},
        {"4k", {3840, 2160}, {3840, 2160}, false, {192, 0, 3456, 2160}},
        {"1080p on a 1440p desktop", {2560, 1440}, {1920, 1080}, false, {416, 180, 1728, 1080}},
        {"stretched there", {2560, 1440}, {1920, 1080}, true, {320, 180, 1920, 1080}},
    };
    cDisplaySettings::destroy();
    for (const sCase& c : cases) {
        SCOPED_TRACE(c.name);
        cDisplaySettings* settings = cDisplaySettings::instance();
        settings->set_frame_size(c.frame[0], c.frame[1]);
        settings->m_screen_width = c.screen[0];
        settings->m_screen_height = c.screen[1];
        settings->m_widescreen = c.widescreen;
        int rect[4];
        settings->viewport_rect(rect);
        EXPECT_EQ(std::vector<int>(rect, rect + 4), c.viewport);
        // Sides the halved targets keep whole, and the aspect kept.
        EXPECT_EQ(settings->m_render_width % 4 + settings->m_render_height % 4, 0);
        EXPECT_NEAR(settings->render_aspect(), 1.6f, 0.002f);
        cDisplaySettings::destroy();
    }
}

TEST(WindowTest, ASizeBeyondTheDriversLimitsNamesTheLargestItAllows) {
    sDriverLimits limits;
    limits.texture = 4096;
    limits.renderbuffer = 8192;
    limits.viewport[0] = limits.viewport[1] = 8192;
    // 2048 x 1280 needs targets of 4096 x 2560: the largest picture.
    EXPECT_EQ(cDisplaySettings::size_limit_text(2048, 1280, false, limits), "");
    EXPECT_EQ(cDisplaySettings::size_limit_text(3840, 2160, false, limits),
              "a 3840x2160 frame is more than this driver holds (render targets up to 6912x4320, "
              "its limit 4096x4096); the largest size it allows is 2048x1280");
    // A frame drawn off-screen is a target of its own.
    limits.texture = 2048;
    limits.viewport[0] = limits.viewport[1] = 16384;
    EXPECT_EQ(cDisplaySettings::size_limit_text(2000, 600, false, limits), "");
    EXPECT_NE(cDisplaySettings::size_limit_text(2100, 600, true, limits), "");
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
