#include "gl_test_support.h"

#include "display_settings.h"
#include "gl_entry.h"
#include "gl_setup.h"

#include <gtest/gtest.h>

void ensure_gl_context() {
    static bool ready = false;
    if (ready)
        return;
    cDisplaySettings* settings = cDisplaySettings::instance();
    settings->m_fullscreen = false;
    testing::internal::CaptureStderr();
    settings->init_sdl();
    init_gl();
    init_images();
    testing::internal::GetCapturedStderr();
    ready = true;
}

std::vector<std::uint8_t> read_pixel(int x, int y) {
    std::vector<std::uint8_t> rgb(3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}
