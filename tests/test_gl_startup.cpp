// GL start-up on a real context: extension checks against the driver and an
// imitated one, entry points and the error reporter.
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_setup.h"
#include "gl_test_support.h"
#include "platform/message_box.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {
class GlStartupTest : public testing::Test {
protected:
    void SetUp() override { ensure_gl_context(); }
};
} // namespace

TEST_F(GlStartupTest, LlvmpipeOffersEverythingTheStartUpAsksFor) {
    testing::internal::CaptureStderr();
    init_gl_with(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    const std::string output = testing::internal::GetCapturedStderr();
    EXPECT_EQ(output.find("#"), std::string::npos) << output; // no warning, no error
    EXPECT_NE(ext::glMultiTexCoord4svARB, nullptr);
}

TEST_F(GlStartupTest, GlErrorsAreReportedOnePerCall) {
    while (glGetError() != GL_NO_ERROR) {
    }
    glEnable(GL_INVALID_ENUM + 0x7000); // an unknown capability
    testing::internal::CaptureStderr();
    EXPECT_TRUE(report_gl_error("frame"));
    EXPECT_FALSE(report_gl_error("frame"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "## ERROR: OpenGL  frame: invalid enumerant\n");
}

using GlStartupDeathTest = GlStartupTest;

TEST_F(GlStartupDeathTest, MissingRequiredExtensionsEndTheProgramAsAFailure) {
    // The renderer runs threads: a fresh process is safer than a fork.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Unattended (a capture), the box's text goes to the error stream and the
    // program ends instead of waiting on a hidden box.
    platform::set_unattended(true);
    ASSERT_TRUE(platform::boxes_unanswerable()) << "a real box would block the test";
    const struct {
        const char* extensions;
        int status;
        const char* message;
    } cases[] = {
        {"GL_ARB_multitexture GL_EXT_framebuffer_object", 1,
         "missing gl-extension: GL_ARB_vertex_buffer_object is missing\n"
         "\\(you probably need newer hardware\\)\n$"},
        {"GL_ARB_vertex_buffer_object GL_EXT_framebuffer_object", 255,
         "# WARNING: GL_ARB_multitexture not supported\n$"},
        {"GL_ARB_vertex_buffer_object GL_ARB_multitexture", 1,
         "vrk::slw - missing gl-extension: GL_EXT_framebuffer_object is missing\n"
         "\\(you probably just need a driver-update...\\)\n$"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extensions);
        EXPECT_EXIT(init_gl_with(c.extensions), testing::ExitedWithCode(c.status), c.message);
    }
    platform::set_unattended(false);
}

TEST(GlStartupProgramTest, AVideoSystemThatDoesNotStartIsAFailure) {
    const sCommandResult result =
        run_command("SDL_VIDEODRIVER=no_such_driver " VANTREL_PROGRAM_PATH " --letterbox");
    EXPECT_EQ(result.exit_code, 1) << result.err;
    EXPECT_NE(result.err.find("## ERROR: whoops, SDL failed to init: "), std::string::npos)
        << result.err;
}
