// The round points: added into an image on the CPU, they give the picture the
// point-sprite program draws, on a real context, also under the depth test;
// the CPU way refuses the states it does not implement; many points added at
// once give what small batches give.
#include "effects/attractor_point_buffer_gl.h"
#include "effects/point_splat.h"
#include "effects/round_points_cpu.h"
#include "effects/round_points_sprites.h"
#include "gl_entry.h"
#include "gl_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace {
constexpr int kWidth = 256, kHeight = 160;

struct sCase {
    float size;
    float alpha;
    GLenum depth_func; // 0: no depth test
};

// The cloud drawn one way over a grey picture, read back as RGBA. Under the
// depth test, a slanted plane through the cloud hides part of it.
std::vector<std::uint8_t> draw_cloud(cAttractorPointBuffer_GL& cloud, iRoundPoints& points,
                                     const sCase& c) {
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0.1f, 0.2f, 0.15f, 0.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.8, 0.8, -0.5, 0.5, 1.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -3.5f);
    for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_TEXTURE_2D, GL_CULL_FACE, GL_FOG})
        glDisable(cap);
    if (c.depth_func) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_ALWAYS);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glBegin(GL_QUADS);
        glVertex3f(-3.0f, -3.0f, -1.0f);
        glVertex3f(3.0f, -3.0f, 1.0f);
        glVertex3f(3.0f, 3.0f, 1.0f);
        glVertex3f(-3.0f, 3.0f, -1.0f);
        glEnd();
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDepthFunc(c.depth_func);
        glDepthMask(GL_FALSE);
    }
    glRotatef(33.0f, 0.0f, 1.0f, 0.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(0.57f, 0.35f, 1.0f, c.alpha);
    points.begin();
    points.set_size(c.size);
    points.draw(cloud);
    points.end();
    // The caller's blending and fixed-function state come back.
    EXPECT_EQ(gl_int(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(gl_int(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(gl_int(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(bool(glIsEnabled(GL_DEPTH_TEST)), c.depth_func != 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_RECTANGLE_ARB));
    std::vector<std::uint8_t> rgba(std::size_t(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

class RoundPointsTest : public testing::Test {
protected:
    void SetUp() override {
        ensure_gl_context();
        ready_shader_manager();
        // Everything the drawing changes comes back at the end, for the
        // tests that run after this one in the same process.
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
        for (GLenum stack : {GL_PROJECTION, GL_MODELVIEW}) {
            glMatrixMode(stack);
            glPushMatrix();
        }
    }
    void TearDown() override {
        for (GLenum stack : {GL_PROJECTION, GL_MODELVIEW}) {
            glMatrixMode(stack);
            glPopMatrix();
        }
        glPopClientAttrib();
        glPopAttrib();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
};
} // namespace

TEST_F(RoundPointsTest, CpuGivesThePictureOfTheSprites) {
    ASSERT_GT(gl_int(GL_DEPTH_BITS), 0);
    cAttractorPointBuffer_GL cloud(80000, 80000);
    const float params[4] = {2.24f, 0.43f, -0.65f, -2.43f};
    std::copy(params, params + 4, cloud.params());
    cloud.update();
    cRoundPoints_sprites sprites;
    cRoundPoints_cpu cpu;

    // Faint two-pixel points (the sums of many small rounded steps), bright
    // ones that saturate, wide ones with a brighter core, and the gases'
    // points behind or in front of a surface.
    for (const sCase& c : {sCase{1.7f, 0.02f, 0}, sCase{1.7f, 0.4f, 0}, sCase{6.0f, 0.05f, 0},
                           sCase{2.0f, 0.4f, GL_LESS}, sCase{2.0f, 0.4f, GL_GEQUAL}}) {
        SCOPED_TRACE(testing::Message() << "size " << c.size << ", alpha " << c.alpha
                                        << ", depth func " << c.depth_func);
        const std::vector<std::uint8_t> on_gpu = draw_cloud(cloud, sprites, c);
        const std::vector<std::uint8_t> on_cpu = draw_cloud(cloud, cpu, c);
        long differ = 0, lit = 0, sum_gpu = 0, sum_cpu = 0;
        for (std::size_t i = 0; i < on_gpu.size(); ++i) {
            differ += on_gpu[i] != on_cpu[i];
            lit += on_gpu[i] > 60;
            sum_gpu += on_gpu[i];
            sum_cpu += on_cpu[i];
        }
        EXPECT_GT(lit, long(on_gpu.size() / (c.depth_func ? 80 : 20))); // the cloud is there
        // Only pixel centres on a point's very edge may fall the other way.
        EXPECT_LT(differ, long(on_gpu.size() / 200));
        EXPECT_NEAR(double(sum_cpu), double(sum_gpu), double(sum_gpu) * 0.002);
    }
}

TEST_F(RoundPointsTest, CpuRefusesStatesItDoesNotImplement) {
    // The renderer runs threads: a fresh process is safer than a fork.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::function<void()> states[] = {
        [] { glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); },
        [] { glEnable(GL_SCISSOR_TEST); },
        [] {
            glEnable(GL_DEPTH_TEST);
            glDepthMask(GL_TRUE);
        },
    };
    auto points_state = [] {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glDisable(GL_SCISSOR_TEST);
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
    };
    cRoundPoints_cpu cpu;
    points_state();
    cpu.begin(); // the gases' state is accepted
    cpu.end();
    for (const auto& state : states) {
        points_state();
        state();
        EXPECT_DEATH(cpu.begin(), "Assertion failed: .*cRoundPoints_cpu");
    }
}

TEST(PointSplatTest, ManyPointsAtOnceGiveWhatSmallBatchesGive) {
    // Enough points for the add to count them on two threads, crowded into
    // one corner so that the counts there pass 255 and thin out elsewhere.
    std::vector<float> xyz;
    for (int i = 0; i < 150000; ++i) {
        const float u = float(i) * 0.618034f - float(int(float(i) * 0.618034f));
        const float v = float(i) * 0.754878f - float(int(float(i) * 0.754878f));
        xyz.insert(xyz.end(), {2.0f * u * u * u - 1.0f, 2.0f * v * v - 1.0f, 0.0f});
    }
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (float alpha : {0.004f, 0.3f}) {
        SCOPED_TRACE(testing::Message() << "alpha " << alpha);
        const float rgba[4] = {1.0f, 0.5f, 0.25f, alpha};
        cPointSplat whole, batches;
        whole.reset(48, 32);
        batches.reset(48, 32);
        whole.add(xyz.data(), xyz.size() / 3, identity, 2.0f, rgba);
        for (std::size_t first = 0; first < xyz.size() / 3; first += 30000)
            batches.add(xyz.data() + first * 3, 30000, identity, 2.0f, rgba);
        EXPECT_EQ(whole.pixels(), batches.pixels());
        if (alpha > 0.01f)
            continue;
        // Faint points: one step a hit, so the pixels hold the counts.
        const auto& p = whole.pixels();
        EXPECT_GT(std::count(p.begin(), p.end(), std::uint8_t(255)), 0);
        EXPECT_GT(std::count(p.begin(), p.end(), std::uint8_t(100)), 0);
    }
}
