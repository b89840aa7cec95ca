// GL start-up on a real context: extension checks against imitated drivers,
// entry points and the error reporters.
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_setup.h"
#include "gl_test_support.h"
#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {
// Every extension the start-up asks for, as a driver string.
const std::string kAllExtensions =
    "GL_ARB_vertex_buffer_object GL_ARB_multitexture GL_EXT_framebuffer_object "
    "GL_ARB_draw_buffers GL_SGIS_texture_lod GL_SGIS_generate_mipmap GL_ARB_texture_env_add "
    "GL_EXT_texture_lod_bias GL_ARB_texture_float GL_ARB_texture_rectangle GL_ARB_multisample "
    "GL_ARB_texture_non_power_of_two GL_ARB_pixel_buffer_object GL_ARB_point_sprite";

std::string without(std::string extensions, const std::string& name) {
    std::size_t at = extensions.find(name + " ");
    if (at == std::string::npos)
        at = extensions.find(name);
    extensions.erase(at, name.size() + 1);
    return extensions;
}

std::string init_gl_output(const std::string& extensions) {
    testing::internal::CaptureStderr();
    init_gl_with(extensions.c_str());
    return testing::internal::GetCapturedStderr();
}

class GlStartupTest : public testing::Test {
protected:
    void SetUp() override { ensure_gl_context(); }
};
} // namespace

TEST_F(GlStartupTest, LlvmpipeOffersEverythingTheStartUpAsksFor) {
    std::string output = init_gl_output(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    EXPECT_EQ(output.find("#"), std::string::npos) << output; // no warning, no error
    EXPECT_NE(ext::glMultiTexCoord4svARB, nullptr);
}

TEST_F(GlStartupTest, GlErrorsAreReportedOnePerCall) {
    while (glGetError() != GL_NO_ERROR) {
    }
    // Mesa keeps one pending error; each call reads (and so clears) one.
    glEnable(GL_INVALID_ENUM + 0x7000); // an unknown capability
    testing::internal::CaptureStderr();
    EXPECT_TRUE(report_gl_error("frame"));
    EXPECT_FALSE(report_gl_error("frame"));
    glMatrixMode(GL_INVALID_ENUM + 0x7001);
    EXPECT_TRUE(report_gl_error(""));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "## ERROR: OpenGL  frame: invalid enumerant\n"
                                                      "## ERROR: OpenGL : invalid enumerant\n");
}

using GlStartupDeathTest = GlStartupTest;

TEST_F(GlStartupDeathTest, MissingRequiredExtensionsEndTheProgram) {
    // The renderer runs threads: a fresh process is safer than a fork.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    platform::set_message_box_hook(
        [](const std::string& text, const std::string& caption, platform::eMessageBox) {
            std::cerr << "[box] " << caption << " | " << text << std::endl;
            return true;
        });
    EXPECT_EXIT(init_gl_with(without(kAllExtensions, "GL_ARB_vertex_buffer_object").c_str()),
                testing::ExitedWithCode(0),
                "# WARNING: GL_ARB_vertex_buffer_object not supported\n"
                "\\[box\\] missing gl-extension \\| GL_ARB_vertex_buffer_object is missing\n"
                "\\(you probably need newer hardware\\)");
    platform::set_message_box_hook(nullptr);

    // Unattended (a capture), the box's text goes to the error stream and the
    // program ends with the same code instead of waiting on a hidden box.
    platform::set_unattended(true);
    ASSERT_TRUE(platform::boxes_unanswerable()) << "a real box would block the test";
    EXPECT_EXIT(init_gl_with(without(kAllExtensions, "GL_EXT_framebuffer_object").c_str()),
                testing::ExitedWithCode(0),
                "vrk::slw - missing gl-extension: GL_EXT_framebuffer_object is missing\n"
                "\\(you probably just need a driver-update...\\)\n$");
    platform::set_unattended(false);
}

TEST(MessageBoxTest, UnattendedOrWithoutADisplayBoxesTakeTheirDefaultOnTheErrorStream) {
    std::vector<std::pair<const char*, std::string>> saved;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(name))
            saved.emplace_back(name, value);
    for (const bool unattended : {true, false}) {
        SCOPED_TRACE(unattended ? "unattended" : "no display");
        if (unattended) {
            platform::set_unattended(true);
        } else {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
        }
        ASSERT_TRUE(platform::boxes_unanswerable()) << "a real box would block the test";
        testing::internal::CaptureStderr();
        EXPECT_FALSE(platform::message_box("Stretch to widescreen?", "widescreen pleassure?",
                                           platform::MESSAGE_YES_NO));
        EXPECT_TRUE(platform::message_box("gone", "missing gl-extension", platform::MESSAGE_OK));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "widescreen pleassure?: Stretch to widescreen? [No]\n"
                  "missing gl-extension: gone\n");
        platform::set_unattended(false);
        for (const auto& variable : saved)
            setenv(variable.first, variable.second.c_str(), 1);
    }
}
