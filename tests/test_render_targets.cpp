// Pooled framebuffer-object targets and the full-screen-quad draws between
// them, on a real context: pixels are read back from the targets. (The
// state the quad draws leave behind is checked with the post passes.)
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "render_fsq.h"
#include "render_target_fbo.h"
#include "render_target_manager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {
using M = cRenderTargetManager;
using tRGB = std::vector<std::uint8_t>;

const tRGB kRed = {255, 0, 0}, kGreen = {0, 255, 0}, kBlue = {0, 0, 255};
const tRGB kWhite = {255, 255, 255}, kYellow = {255, 255, 0}, kBlack = {0, 0, 0};

tRGB pixel(iRenderTarget& rt, int x, int y) {
    return read_target(rt, 1, 1, x, y);
}

// Four quadrants: bottom left, bottom right, top left, top right.
void fill_quadrants(iRenderTarget& rt, const tRGB& bl, const tRGB& br, const tRGB& tl,
                    const tRGB& tr) {
    const int w = int(rt.get_width()) / 2, h = int(rt.get_height()) / 2;
    fill_target(rt, bl, 0, 0, w, h);
    fill_target(rt, br, w, 0, w, h);
    fill_target(rt, tl, 0, h, w, h);
    fill_target(rt, tr, w, h, w, h);
}

class RenderTargetTest : public testing::Test {
protected:
    void SetUp() override {
        ensure_gl_context();
        m_rtm = M::instance();
    }
    void TearDown() override {
        EXPECT_EQ(m_rtm->in_use(), 0u);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        cDisplaySettings::instance()->set_viewport();
    }

    M* m_rtm = nullptr;
};
} // namespace

TEST_F(RenderTargetTest, PooledTargetsAreCompleteFramebuffersOfTheirClassSize) {
    cRTProxy half = m_rtm->get_rt(M::RTT_HALF);
    EXPECT_EQ(half->get_width(), 512u);
    EXPECT_EQ(half->get_height(), 320u);
    auto* fbo = dynamic_cast<cRenderTarget_fbo*>(&*half);
    ASSERT_NE(fbo, nullptr);
    EXPECT_TRUE(ext::glIsFramebufferEXT(fbo->get_framebuffer()));

    // bind renders into the target at its size; unbind restores the screen.
    glViewport(0, 64, 1024, 640);
    half->bind();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 512, 320}));
    EXPECT_TRUE(fbo->CheckFrameBufferStatus());
    half->unbind();
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 64, 1024, 640}));
    EXPECT_EQ(gl_int(GL_DRAW_BUFFER), GL_BACK);
    fill_target(*half, kBlue);
    EXPECT_EQ(pixel(*half, 511, 319), kBlue);
}

TEST_F(RenderTargetTest, ADualPassGivesEachUnitItsOwnPixelRange) {
    cRTProxy a = m_rtm->get_rt(M::RTT_FULL);
    cRTProxy b = m_rtm->get_rt(M::RTT_HALF);
    cRTProxy out = m_rtm->get_rt(M::RTT_FULL);
    fill_quadrants(*a, kRed, kBlack, kRed, kBlack);     // left half red
    fill_quadrants(*b, kGreen, kGreen, kBlack, kBlack); // bottom half green

    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    a->bind_texture();
    a->enable_texture();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    b->bind_texture();
    b->enable_texture();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);

    out->bind();
    render_fsq_dual(*a, *b);
    out->unbind();
    // Three eighths up the picture lies in b's bottom half only if unit 1
    // spans b's own 320 rows.
    EXPECT_EQ(pixel(*out, 256, 240), kYellow);
    EXPECT_EQ(pixel(*out, 768, 240), kGreen);
    EXPECT_EQ(pixel(*out, 256, 400), kRed);
    EXPECT_EQ(pixel(*out, 768, 400), kBlack);

    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    b->disable_texture();
    b->unbind_texture();
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    a->disable_texture();
    a->unbind_texture();
}
