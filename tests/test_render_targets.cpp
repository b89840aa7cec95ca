// The full-screen-quad draw of two pooled targets at once, on a real context:
// pixels are read back from the target drawn into. (The state the quad draws
// leave behind is checked with the post passes.)
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "render_fsq.h"
#include "render_target_manager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {
using M = cRenderTargetManager;
using tRGB = std::vector<std::uint8_t>;

const tRGB kRed = {255, 0, 0}, kGreen = {0, 255, 0}, kYellow = {255, 255, 0}, kBlack = {0, 0, 0};

tRGB pixel(iRenderTarget& rt, int x, int y) {
    return read_target(rt, 1, 1, x, y);
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

TEST_F(RenderTargetTest, ADualPassGivesEachUnitItsOwnPixelRange) {
    cRTProxy a = m_rtm->get_rt(M::RTT_FULL);
    cRTProxy b = m_rtm->get_rt(M::RTT_HALF);
    cRTProxy out = m_rtm->get_rt(M::RTT_FULL);
    fill_target(*a, kBlack);
    fill_target(*a, kRed, 0, 0, 512, 640); // left half red
    fill_target(*b, kBlack);
    fill_target(*b, kGreen, 0, 0, 512, 160); // bottom half green

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
