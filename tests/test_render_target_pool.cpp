// The render-target pool's accounting, on stand-in targets (no GL needed).
#include "display_settings.h"
#include "render_target_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {
using M = cRenderTargetManager;

struct sTargetLog {
    std::vector<std::pair<unsigned, unsigned>> created; // sizes, in order
    int initialised = 0;
    int deleted = 0;
};
sTargetLog g_log;

class cFakeTarget : public iRenderTarget {
public:
    cFakeTarget(unsigned w, unsigned h) : m_w(w), m_h(h) { g_log.created.emplace_back(w, h); }
    ~cFakeTarget() override { ++g_log.deleted; }
    void init() override { ++g_log.initialised; }
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
        g_log = sTargetLog();
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

TEST_F(RenderTargetPoolTest, WarmUpCreatesTwelveTargetsAndReturnsThemAll) {
    EXPECT_EQ(m_warm_up_output, "");
    EXPECT_EQ(m_pool->pooled(), 12u);
    EXPECT_EQ((std::vector<unsigned>{m_pool->pooled(M::RTT_FULL), m_pool->pooled(M::RTT_HALF),
                                     m_pool->pooled(M::RTT_QUATER), m_pool->pooled(M::RTT_EIGHTH)}),
              (std::vector<unsigned>{3, 3, 4, 2}));
    EXPECT_EQ(g_log.initialised, 12);
    EXPECT_EQ(g_log.created[11], (std::pair<unsigned, unsigned>(128, 80)));
}

TEST_F(RenderTargetPoolTest, ReleaseAndTransfer) {
    // Releasing twice: the second finds no target and does nothing.
    cRTProxy p = m_pool->get_rt(M::RTT_HALF);
    m_pool->release(p);
    m_pool->release(p);
    EXPECT_FALSE(p.holds_target());
    EXPECT_EQ(p.get_size(), M::RTT_NONE);
    EXPECT_EQ(m_pool->in_use(), 0u);
    EXPECT_EQ(m_pool->pooled(M::RTT_HALF), 3u);

    // Assignment gives a's target back first, then takes b's.
    cRTProxy a = m_pool->get_rt(M::RTT_FULL);
    cRTProxy b = m_pool->get_rt(M::RTT_EIGHTH);
    const iRenderTarget* b_target = &*b;
    a = std::move(b);
    EXPECT_FALSE(b.holds_target());
    EXPECT_EQ(&*a, b_target);
    EXPECT_EQ(a.get_size(), M::RTT_EIGHTH);
    EXPECT_EQ(m_pool->pooled(M::RTT_FULL), 3u);
    EXPECT_EQ(m_pool->in_use(), 1u);

    // Moving into a new proxy transfers too; self-assignment keeps the target.
    cRTProxy c(std::move(a));
    EXPECT_FALSE(a.holds_target());
    c = std::move(c);
    EXPECT_EQ(&*c, b_target);
    EXPECT_EQ(m_pool->in_use(), 1u);
}

TEST_F(RenderTargetPoolTest, APoolMissWarnsAndGrowsThePoolAndDestructionDeletesAll) {
    {
        std::vector<cRTProxy> held;
        for (int i = 0; i < 3; ++i)
            held.push_back(m_pool->get_rt(M::RTT_FULL));
        testing::internal::CaptureStdout();
        held.push_back(m_pool->get_rt(M::RTT_FULL));
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "# performance-warning: allocated rendertarget runtime: RTT_FULL\n");
        EXPECT_EQ(held.back()->get_width(), 1024u);
        EXPECT_EQ(m_pool->in_use(), 4u);
    }
    EXPECT_EQ(m_pool->pooled(M::RTT_FULL), 4u);
    EXPECT_EQ(m_pool->in_use(), 0u);
    testing::internal::CaptureStdout();
    delete m_pool;
    m_pool = nullptr;
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(g_log.created.size(), 13u);
    EXPECT_EQ(g_log.deleted, 13);
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
    EXPECT_DEATH(
        {
            cRTProxy* leaked = new cRTProxy(m_pool->get_rt(M::RTT_HALF));
            (void)leaked;
            delete m_pool;
        },
        "Assertion failed: !dbg_remaining_rt");
    EXPECT_DEATH(
        {
            cDisplaySettings::instance()->m_render_width = 1022;
            m_pool->get_rt(M::RTT_HALF);
        },
        "Assertion failed: !\\(w%4\\) && !\\(h%4\\)");
}
