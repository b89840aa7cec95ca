// Pooled framebuffer-object targets and the full-screen-quad passes between
// them, on a real context: pixels are read back from the targets.
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "render_fsq.h"
#include "render_target_fbo.h"
#include "render_target_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace {
using M = cRenderTargetManager;
using tRGB = std::array<int, 3>;

const tRGB kRed = {255, 0, 0};
const tRGB kGreen = {0, 255, 0};
const tRGB kBlue = {0, 0, 255};
const tRGB kWhite = {255, 255, 255};
const tRGB kYellow = {255, 255, 0};
const tRGB kBlack = {0, 0, 0};

// The pixel at (x, y) of the target bound now.
tRGB target_pixel(int x, int y) {
    std::uint8_t rgb[3] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

void clear_rect(int x, int y, int w, int h, const tRGB& c) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, w, h);
    glClearColor(c[0] / 255.0f, c[1] / 255.0f, c[2] / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

// Four quadrants: bottom left, bottom right, top left, top right.
void fill_quadrants(iRenderTarget& rt, const tRGB& bl, const tRGB& br, const tRGB& tl,
                    const tRGB& tr) {
    const int w = int(rt.get_width()) / 2;
    const int h = int(rt.get_height()) / 2;
    rt.bind();
    clear_rect(0, 0, w, h, bl);
    clear_rect(w, 0, w, h, br);
    clear_rect(0, h, w, h, tl);
    clear_rect(w, h, w, h, tr);
    rt.unbind();
}

// A fresh name of each kind, given back at once; GL hands out names in
// increasing order, so a later probe that is more than one higher means that
// objects were created in between.
struct sNameProbe {
    GLuint texture, framebuffer, renderbuffer;
};
sNameProbe probe_names() {
    sNameProbe p{};
    glGenTextures(1, &p.texture);
    glDeleteTextures(1, &p.texture);
    ext::glGenFramebuffersEXT(1, &p.framebuffer);
    ext::glDeleteFramebuffersEXT(1, &p.framebuffer);
    ext::glGenRenderbuffersEXT(1, &p.renderbuffer);
    ext::glDeleteRenderbuffersEXT(1, &p.renderbuffer);
    return p;
}

class RenderTargetTest : public testing::Test {
protected:
    void SetUp() override {
        ensure_gl_context();
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        m_rtm = M::instance();
        m_start_err = testing::internal::GetCapturedStderr();
        m_start_out = testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        EXPECT_EQ(m_rtm->in_use(), 0u);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        cDisplaySettings::instance()->set_viewport();
    }

    M* m_rtm = nullptr;
    std::string m_start_err, m_start_out;
};
} // namespace

TEST_F(RenderTargetTest, PooledTargetsAreCompleteFramebuffersOfTheirClassSize) {
    EXPECT_EQ(m_start_err, "");
    EXPECT_EQ(m_start_out, "");
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
    EXPECT_EQ(viewport[2], 512);
    EXPECT_EQ(viewport[3], 320);
    EXPECT_TRUE(fbo->CheckFrameBufferStatus());
    clear_rect(0, 0, 512, 320, kBlue);
    EXPECT_EQ(target_pixel(511, 319), kBlue);
    half->unbind();
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[1], 64);
    EXPECT_EQ(viewport[3], 640);
    GLint draw_buffer = 0;
    glGetIntegerv(GL_DRAW_BUFFER, &draw_buffer);
    EXPECT_EQ(draw_buffer, GL_BACK);
}

TEST_F(RenderTargetTest, AnIncompleteFramebufferDescribesTheTarget) {
    cRenderTarget_fbo target(4, 8);
    GLuint empty = 0;
    ext::glGenFramebuffersEXT(1, &empty);
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, empty);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(target.CheckFrameBufferStatus());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT_EXT\n"
              "width x height = (4 x 8)\n"
              "textarget: 34037\n"
              "type: 5126\n"
              "with depth\n");
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    ext::glDeleteFramebuffersEXT(1, &empty);
}

TEST_F(RenderTargetTest, SteadyStateFramesCreateNoGlObjects) {
    const sNameProbe before = probe_names();
    testing::internal::CaptureStdout();
    for (int frame = 0; frame < 100; ++frame) {
        cRTProxy scene = m_rtm->get_rt(M::RTT_FULL);
        cRTProxy half = m_rtm->get_rt(M::RTT_HALF);
        cRTProxy quarter = m_rtm->get_rt(M::RTT_QUATER);
        cRTProxy eighth = m_rtm->get_rt(M::RTT_EIGHTH);
        for (cRTProxy* rt : {&scene, &half, &quarter, &eighth}) {
            (*rt)->bind();
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            (*rt)->unbind();
        }
        scene->bind();
        render_fsq(*half);
        scene->unbind();
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    const sNameProbe after = probe_names();
    EXPECT_LE(after.texture, before.texture + 1);
    EXPECT_LE(after.framebuffer, before.framebuffer + 1);
    EXPECT_LE(after.renderbuffer, before.renderbuffer + 1);
}

TEST_F(RenderTargetTest, AFullSizeImageDrawnIntoAHalfSizeTargetIsScaledWhole) {
    cRTProxy full = m_rtm->get_rt(M::RTT_FULL);
    cRTProxy half = m_rtm->get_rt(M::RTT_HALF);
    fill_quadrants(*full, kRed, kGreen, kBlue, kWhite);
    half->bind();
    render_fsq(*full);
    EXPECT_EQ(target_pixel(128, 80), kRed);
    EXPECT_EQ(target_pixel(384, 80), kGreen);
    EXPECT_EQ(target_pixel(128, 240), kBlue);
    EXPECT_EQ(target_pixel(384, 240), kWhite);
    EXPECT_EQ(target_pixel(511, 319), kWhite);
    half->unbind();
}

TEST_F(RenderTargetTest, AQuadPassLeavesTheStateAsItFoundIt) {
    cRTProxy eighth = m_rtm->get_rt(M::RTT_EIGHTH);
    for (GLboolean mask : {GL_TRUE, GL_FALSE}) {
        glDepthMask(mask);
        glEnable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 1.6, 0.5, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(1.0f, 2.0f, -3.0f);
        GLfloat projection[16], modelview[16];
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview);

        render_fsq(*eighth);

        GLboolean mask_after = !mask;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &mask_after);
        EXPECT_EQ(mask_after, mask);
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_RECTANGLE_ARB));
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
        GLfloat projection_after[16], modelview_after[16];
        glGetFloatv(GL_PROJECTION_MATRIX, projection_after);
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview_after);
        EXPECT_TRUE(std::equal(projection, projection + 16, projection_after));
        EXPECT_TRUE(std::equal(modelview, modelview + 16, modelview_after));
    }
    glDepthMask(GL_TRUE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
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
    // Three eighths up the picture lies in b's bottom half only if unit 1
    // spans b's own 320 rows.
    EXPECT_EQ(target_pixel(256, 240), kYellow);
    EXPECT_EQ(target_pixel(768, 240), kGreen);
    EXPECT_EQ(target_pixel(256, 400), kRed);
    EXPECT_EQ(target_pixel(768, 400), kBlack);
    out->unbind();

    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    b->disable_texture();
    b->unbind_texture();
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    a->disable_texture();
    a->unbind_texture();
}
