// The render-target pool's accounting, on stand-in targets (no GL needed).
#include "render_target_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {
using M = cRenderTargetManager;

int g_created = 0, g_deleted = 0;

class cFakeTarget : public iRenderTarget {
public:
    cFakeTarget(unsigned w, unsigned h) : m_w(w), m_h(h) { ++g_created; }
    ~cFakeTarget() override { ++g_deleted; }
    void init() override {}
    void bind() override {}
    void unbind() override {}
    void bind_texture() const override {}
    void unbind_texture() const override {}
    void enable_texture() const override {}
    void disable_texture() const override {}
    unsigned get_width() const override { return m_w; }
    unsigned get_height() const override { return m_h; }

private:
    unsigned m_w, m_h;
};

iRenderTarget* make_fake(unsigned w, unsigned h) {
    return new cFakeTarget(w, h);
}

class RenderTargetPoolTest : public testing::Test {
protected:
    void SetUp() override {
        g_created = g_deleted = 0;
        testing::internal::CaptureStdout();
        m_pool = new M(make_fake);
        m_warm_up_output = testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        testing::internal::CaptureStdout();
        delete m_pool;
        testing::internal::GetCapturedStdout();
    }

    M* m_pool = nullptr;
    std::string m_warm_up_output;
};
} // namespace

TEST_F(RenderTargetPoolTest, ReleaseAndTransfer) {
    // Releasing twice: the second finds no target and does nothing.
    cRTProxy p = m_pool->get_rt(M::RTT_HALF);
    m_pool->release(p);
    m_pool->release(p);
    EXPECT_FALSE(p.holds_target());
    EXPECT_EQ(m_pool->in_use(), 0u);

    // Assignment gives a's target back first, then takes b's.
    cRTProxy a = m_pool->get_rt(M::RTT_FULL);
    cRTProxy b = m_pool->get_rt(M::RTT_EIGHTH);
    const iRenderTarget* b_target = &*b;
    a = std::move(b);
    EXPECT_FALSE(b.holds_target());
    EXPECT_EQ(&*a, b_target);
    EXPECT_EQ(m_pool->in_use(), 1u);
}

TEST_F(RenderTargetPoolTest, APoolMissWarnsAndGrowsThePoolAndDestructionDeletesAll) {
    EXPECT_EQ(m_warm_up_output, "");
    {
        std::vector<cRTProxy> held;
        for (int i = 0; i < 3; ++i)
            held.push_back(m_pool->get_rt(M::RTT_FULL));
        testing::internal::CaptureStdout();
        held.push_back(m_pool->get_rt(M::RTT_FULL));
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "# performance-warning: allocated rendertarget runtime: RTT_FULL\n");
        EXPECT_EQ(held.back()->get_width(), 1024u);
    }
    EXPECT_EQ(m_pool->pooled(M::RTT_FULL), 4u);
    EXPECT_EQ(m_pool->in_use(), 0u);
    testing::internal::CaptureStdout();
    delete m_pool;
    m_pool = nullptr;
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(g_created, 13);
    EXPECT_EQ(g_deleted, 13);
}

using RenderTargetPoolDeathTest = RenderTargetPoolTest;

TEST_F(RenderTargetPoolDeathTest, MisuseStopsTheProgram) {
    EXPECT_DEATH(
        {
            cRTProxy p = m_pool->get_rt(M::RTT_FULL);
            m_pool->release(p);
            p->bind();
        },
        "Assertion failed: m_rt && m_rtm \\(rendertarget invalidated\\)");
}
