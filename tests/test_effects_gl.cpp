// The effects' GL side on a real context: attractor rings and scrub blocks
// are uploaded, drawn and read back; the solar flare draw leaves the GL state
// as it found it.
#include "display_settings.h"
#include "effects/attractor_point_buffer_gl.h"
#include "effects/mesh_emitter_gl.h"
#include "effects/scrub_multi_vbo.h"
#include "effects/scrub_multi_vbo_gl.h"
#include "effects/solar_flares_gl.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "math/random.h"
#include "resource_path.h"
#include "scene.h"
#include "scene_fixture.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_notex.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
// The views draw into the lower left 200 x 200 pixels of the window.
constexpr int kView = 200;

// Whether the window pixel of a point under ortho(1) is lit.
bool lit(float x, float y) {
    std::vector<std::uint8_t> p = read_pixel(int((x + 1) / 2 * kView), int((y + 1) / 2 * kView));
    return p[0] + p[1] + p[2] > 0;
}

// The contents of an array buffer, read back through a read-only mapping.
std::vector<float> buffer_contents(GLuint buffer, std::size_t floats) {
    std::vector<float> out(floats);
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffer);
    const void* ptr = ext::glMapBufferARB(GL_ARRAY_BUFFER_ARB, GL_READ_ONLY_ARB);
    if (ptr)
        std::memcpy(out.data(), ptr, floats * sizeof(float));
    ext::glUnmapBufferARB(GL_ARRAY_BUFFER_ARB);
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    return out;
}

class EffectsGlTest : public testing::Test {
protected:
    void SetUp() override {
        ensure_gl_context();
        ready_shader_manager();
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glViewport(0, 0, kView, kView);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
        glColor4f(1, 1, 1, 1);
    }
    void TearDown() override {
        glPopAttrib();
        cDisplaySettings::instance()->set_viewport();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    // Orthographic view of -extent..extent in x and y, looking down -z.
    static void ortho(float extent) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-extent, extent, -extent, extent, -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};
} // namespace

// ---- Attractor --------------------------------------------------------

TEST_F(EffectsGlTest, AttractorBufferHoldsTheRing) {
    cAttractorPointBuffer_GL cloud(1000, 400);
    const float p[4] = {2.24f, 0.43f, -0.65f, -2.43f};
    std::memcpy(cloud.params(), p, sizeof(p));
    // Two batches, then a restart from the origin that overwrites the first.
    for (std::uint32_t expected : {400u, 800u, 800u}) {
        cloud.update();
        EXPECT_EQ(cloud.drawn_count(), expected);
    }
    // Drawing from the buffer uploads every batch written since the last
    // draw (here: all three).
    cloud.draw_from_buffer();
    glDisableClientState(GL_VERTEX_ARRAY);
    const std::vector<float>& ring = cloud.ring().points();
    std::vector<float> gl = buffer_contents(cloud.buffer(), 800 * 3);
    EXPECT_EQ(gl, std::vector<float>(ring.begin(), ring.begin() + 800 * 3));
}

// ---- Scrub ------------------------------------------------------------

namespace {
// A square of two triangles at x0..x0+w, y0..y0+w, z, facing +z.
void add_square(cScrubMultiVBO* b, float x0, float y0, float w, float z, bool indexed) {
    const Vec3f n(0, 0, 1);
    const Vec3f c[4] = {{x0, y0, z}, {x0 + w, y0, z}, {x0 + w, y0 + w, z}, {x0, y0 + w, z}};
    if (indexed) {
        std::uint32_t i[4];
        for (int k = 0; k < 4; ++k)
            i[k] = b->add_vertex(c[k], n);
        for (int k : {0, 1, 2, 0, 2, 3})
            b->add_index(i[k]);
    } else {
        for (int k : {0, 1, 2, 0, 2, 3})
            b->add_vertex(c[k], n);
    }
}
} // namespace

TEST_F(EffectsGlTest, ScrubBlocksAreUploadedOnceAndDrawn) {
    cScrubMultiVBO batcher;
    cScrubMultiVBO_GL gl;
    add_square(&batcher, -0.8f, -0.8f, 0.6f, 1.0f, false);
    batcher.end_render_block();
    add_square(&batcher, 0.2f, 0.2f, 0.6f, 2.0f, true);
    batcher.end_render_block();

    ortho(1.0f);
    gl.draw(batcher);
    EXPECT_TRUE(batcher.blocks()[0].uploaded);
    EXPECT_TRUE(lit(-0.5f, -0.5f)); // plain triangles
    EXPECT_TRUE(lit(0.5f, 0.5f));   // indexed
    EXPECT_FALSE(lit(0.5f, -0.5f)); // nothing there
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY) || glIsEnabled(GL_NORMAL_ARRAY));

    // The first block is passed: its pair goes back to the pool and carries
    // the next block, which replaces the old picture.
    const int first_pair = batcher.blocks()[0].pair;
    batcher.release_before(1.5f);
    add_square(&batcher, 0.2f, -0.8f, 0.6f, 3.0f, false);
    batcher.end_render_block();
    EXPECT_EQ(batcher.blocks().back().pair, first_pair);
    glClear(GL_COLOR_BUFFER_BIT);
    gl.draw(batcher);
    EXPECT_FALSE(lit(-0.5f, -0.5f));
    EXPECT_TRUE(lit(0.5f, -0.5f));
    EXPECT_TRUE(lit(0.5f, 0.5f));
}

// ---- Solar flares -----------------------------------------------------

namespace {
// What the flare draw must leave as it found it: the state a scene's frame
// must hand back, and both texture units' 2D textures.
std::vector<double> gl_state() {
    std::vector<double> s = {double(gl_int(GL_ACTIVE_TEXTURE_ARB))};
    for (GLenum unit : {GL_TEXTURE1_ARB, GL_TEXTURE0_ARB}) {
        ext::glActiveTextureARB(unit);
        s.insert(s.end(),
                 {double(glIsEnabled(GL_TEXTURE_2D)), double(gl_int(GL_TEXTURE_BINDING_2D))});
    }
    const std::vector<double> frame = gl_frame_state(true, true, false);
    s.insert(s.end(), frame.begin(), frame.end());
    return s;
}
} // namespace

TEST_F(EffectsGlTest, FlareDrawLeavesTheStateItFound) {
    cResourcePath::instance()->push_searchpath(std::string(VANTREL_SOURCE_DIR) +
                                               "/data/models/sunflare");

    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    if (!shaders->find_shader("notex_shader"))
        shaders->add_shader<cShdNotex>("notex_shader");
    vt_srand(1);
    cSolarFlares_GL flares;
    flares.load();
    ASSERT_NE(flares.emitter(), nullptr);
    ASSERT_NE(shaders->find_shader("flare_shader"), nullptr);

    // The caller's state: a shader bound, culling on, the sun in view.
    ortho(2.0f);
    glEnable(GL_CULL_FACE);
    shaders->bind("notex_shader");
    for (GLenum unit : {GL_TEXTURE1_ARB, GL_TEXTURE0_ARB}) {
        ext::glActiveTextureARB(unit); // loading left its last texture bound
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    const std::vector<double> before = gl_state();

    // Flares of every age and visible particles.
    sTimeBlock time{0, 20, 0};
    flares.system().m_numFlares = 5.0f;
    flares.system().m_partSize = 3.0f;
    flares.system().m_partAlpha = 0.1f;
    flares.system().m_partColour = Vec3f(1, 1, 1);
    flares.start(0);
    for (int t = 40; t <= 400; t += 20) {
        time.previous = time.current;
        time.current = t;
        flares.update(time);
    }
    ASSERT_NE(flares.particles(), nullptr);
    glPushMatrix();
    flares.draw(400);
    glPopMatrix();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(gl_state(), before);
    shaders->unbind();
}
