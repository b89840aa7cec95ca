// The attractor clouds' round points: added into an image on the CPU, they
// give the picture the point-sprite program draws, on a real context.
#include "effects/attractor_point_buffer_gl.h"
#include "effects/round_points_gl.h"
#include "gl_entry.h"
#include "gl_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {
constexpr int kWidth = 256, kHeight = 160;

struct sCase {
    float size;
    float alpha;
};

// The cloud drawn one way over a grey picture, read back as RGBA.
std::vector<std::uint8_t> draw_cloud(cAttractorPointBuffer_GL& cloud, cRoundPoints_GL::eMode mode,
                                     const sCase& c) {
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0.1f, 0.2f, 0.15f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.8, 0.8, -0.5, 0.5, 1.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -3.5f);
    glRotatef(33.0f, 0.0f, 1.0f, 0.0f);
    for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_TEXTURE_2D, GL_CULL_FACE, GL_FOG})
        glDisable(cap);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(0.57f, 0.35f, 1.0f, c.alpha);
    cRoundPoints_GL points(mode);
    points.begin();
    points.set_size(c.size);
    points.draw(cloud);
    points.end();
    // The caller's blending and fixed-function state come back.
    EXPECT_EQ(gl_int(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(gl_int(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(gl_int(GL_CURRENT_PROGRAM), 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_RECTANGLE_ARB));
    std::vector<std::uint8_t> rgba(std::size_t(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}
} // namespace

TEST(RoundPointsTest, SplatGivesThePictureOfTheSprites) {
    ensure_gl_context();
    ready_shader_manager();
    cRoundPoints_GL::load();
    // Everything the drawing changes comes back at the end, for the tests
    // that run after this one in the same process.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    for (GLenum stack : {GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(stack);
        glPushMatrix();
    }
    cAttractorPointBuffer_GL cloud(80000, 80000);
    const float params[4] = {2.24f, 0.43f, -0.65f, -2.43f};
    std::copy(params, params + 4, cloud.params());
    cloud.update();

    // Faint two-pixel points (the sums of many small rounded steps), bright
    // ones that saturate, and wide ones with a brighter core.
    for (const sCase& c : {sCase{1.7f, 0.02f}, sCase{1.7f, 0.4f}, sCase{6.0f, 0.05f}}) {
        SCOPED_TRACE(testing::Message() << "size " << c.size << ", alpha " << c.alpha);
        const std::vector<std::uint8_t> sprites = draw_cloud(cloud, cRoundPoints_GL::SPRITES, c);
        const std::vector<std::uint8_t> splat = draw_cloud(cloud, cRoundPoints_GL::SPLAT, c);
        long differ = 0, lit = 0, sum_sprites = 0, sum_splat = 0;
        for (std::size_t i = 0; i < sprites.size(); ++i) {
            differ += sprites[i] != splat[i];
            lit += sprites[i] > 60;
            sum_sprites += sprites[i];
            sum_splat += splat[i];
        }
        EXPECT_GT(lit, long(sprites.size() / 20)); // the cloud is in the picture
        // Only pixel centres on a point's very edge may fall the other way.
        EXPECT_LT(differ, long(sprites.size() / 200));
        EXPECT_NEAR(double(sum_splat), double(sum_sprites), double(sum_sprites) * 0.002);
    }
    for (GLenum stack : {GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(stack);
        glPopMatrix();
    }
    glPopClientAttrib();
    glPopAttrib();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
