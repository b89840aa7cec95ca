// The loading progress bar on a real context.
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "load_screen_sk.h"

#include <gtest/gtest.h>

namespace {
bool is_bar(const std::vector<std::uint8_t>& rgb) {
    return rgb[0] < 40 && rgb[1] < 40;
}
bool is_grey(const std::vector<std::uint8_t>& rgb) {
    return rgb[0] > 150 && rgb[0] < 180;
}
} // namespace

TEST(LoadScreenTest, BarGrowsOverALightGreyScreenAndTheStateComesBack) {
    ensure_gl_context();
    glViewport(10, 20, 300, 200);
    {
        testing::internal::CaptureStderr();
        cLoadScreen_SK screen;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "64 1024 640\n");
        // The bar spans y 466 to 495 of 768 on the screen: inside the
        // letterbox band (64 .. 704) its middle is at 64 + 480.5 / 768 * 640.
        const int y = 64 + int((466.0 + 495.0) / 2.0 / 768.0 * 640.0);
        // The software renderer keeps the back buffer's content across a
        // swap, so the picture can be read back after progress has shown it.
        const int bar_x = int(345.0 + 372.0 / 2);
        screen.progress(1.0f);
        EXPECT_TRUE(is_grey(read_pixel(100, y))) << int(read_pixel(100, y)[0]);
        EXPECT_TRUE(is_bar(read_pixel(bar_x, y))) << int(read_pixel(bar_x, y)[0]);
        screen.progress(0.25f);
        EXPECT_TRUE(is_bar(read_pixel(370, y)));
        EXPECT_TRUE(is_grey(read_pixel(bar_x + 100, y)));
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{10, 20, 300, 200}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    cDisplaySettings::instance()->set_viewport();
}
