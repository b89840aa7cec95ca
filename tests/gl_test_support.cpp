#include "gl_test_support.h"

#include "display_settings.h"
#include "gl_entry.h"
#include "gl_setup.h"
#include "post_glow.h"
#include "post_hsb.h"
#include "post_levels.h"
#include "render_target.h"
#include "resource_path.h"
#include "shader_manager_glsl.h"

#include <IL/il.h>
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

cShaderManager_GLSL* ready_shader_manager() {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    if (shaders->vertex_profile() == GLSL_PROFILE_NONE) {
        cResourcePath* paths = cResourcePath::instance();
        if (paths->get_fullpath("blurtex.vert").empty())
            paths->push_searchpath(std::string(VANTREL_SOURCE_DIR) + "/src/shaders");
        testing::internal::CaptureStdout();
        shaders->init();
        testing::internal::GetCapturedStdout();
        cPostLevels::destroy();
        cPostHSB::destroy();
        cPostGlow::destroy();
    }
    return shaders;
}

std::string write_rgb_image(const std::string& path, int w, int h,
                            const std::vector<std::uint8_t>& rgb) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(ILuint(w), ILuint(h), 1, 3, IL_RGB, IL_UNSIGNED_BYTE,
               const_cast<std::uint8_t*>(rgb.data()));
    ilEnable(IL_FILE_OVERWRITE);
    EXPECT_TRUE(ilSaveImage(path.c_str())) << path;
    ilDeleteImages(1, &image);
    return path;
}

void fill_target(iRenderTarget& rt, const std::vector<std::uint8_t>& rgb, int x, int y, int w,
                 int h) {
    rt.bind();
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, w ? w : int(rt.get_width()), h ? h : int(rt.get_height()));
    glClearColor(rgb[0] / 255.0f, rgb[1] / 255.0f, rgb[2] / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    rt.unbind();
}

std::vector<std::uint8_t> read_target(iRenderTarget& rt, int w, int h, int x, int y) {
    std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
    rt.bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    rt.unbind();
    return rgb;
}

int gl_int(unsigned name) {
    GLint value = 0;
    glGetIntegerv(GLenum(name), &value);
    return value;
}
