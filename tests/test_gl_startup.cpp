// GL start-up on a real context: extension checks against the driver and an
// imitated one, entry points and the error reporter.
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_setup.h"
#include "gl_test_support.h"
#include "platform/message_box.h"

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

TEST_F(GlStartupDeathTest, MissingRequiredExtensionsEndTheProgram) {
    // The renderer runs threads: a fresh process is safer than a fork.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Unattended (a capture), the box's text goes to the error stream and the
    // program ends instead of waiting on a hidden box.
    platform::set_unattended(true);
    ASSERT_TRUE(platform::boxes_unanswerable()) << "a real box would block the test";
    EXPECT_EXIT(init_gl_with("GL_ARB_vertex_buffer_object GL_ARB_multitexture"),
                testing::ExitedWithCode(0),
                "vrk::slw - missing gl-extension: GL_EXT_framebuffer_object is missing\n"
                "\\(you probably just need a driver-update...\\)\n$");
    platform::set_unattended(false);
}
