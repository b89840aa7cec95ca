// The effects' GL side on a real context: attractor rings, scrub blocks and
// particles are drawn and read back; the solar flare draw leaves the GL state
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
#include "mesh_files/bzobj_writer.h"
#include "resource_path.h"
#include "scene.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_notex.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
// The views draw into the lower left 200 x 200 pixels of the window.
constexpr int kView = 200;

bool lit(int x, int y) {
    std::vector<std::uint8_t> p = read_pixel(x, y);
    return p[0] + p[1] + p[2] > 0;
}

// Window pixel of a point under an orthographic view of -extent..extent.
int to_pixel(float v, float extent) {
    return int((v + extent) / (2.0f * extent) * kView);
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
        while (glGetError() != GL_NO_ERROR) {
        }
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
    EXPECT_THROW(cAttractorPointBuffer_GL(10, 11), std::invalid_argument);

    cAttractorPointBuffer_GL cloud(1000, 400);
    const float p[4] = {2.24f, 0.43f, -0.65f, -2.43f};
    std::memcpy(cloud.params(), p, sizeof(p));
    EXPECT_EQ(cloud.drawn_count(), 0u);
    // Two batches, then a restart from the origin that overwrites the first.
    for (std::uint32_t expected : {400u, 800u, 800u}) {
        cloud.update();
        EXPECT_EQ(cloud.drawn_count(), expected);
    }
    EXPECT_EQ(cloud.ring().last_batch_offset(), 0u);
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
    ASSERT_EQ(gl.pair_count(), batcher.pairs().size());
    EXPECT_EQ(gl.capacity(0), 3 * cScrubMultiVBO::BASE_VERTEX_COUNT);
    for (const cScrubMultiVBO::sRenderBlock& block : batcher.blocks()) {
        EXPECT_TRUE(block.uploaded);
        EXPECT_TRUE(block.positions.empty()); // the buffers hold them now
    }
    EXPECT_EQ(batcher.blocks()[1].indices.size(), 6u);
    EXPECT_TRUE(lit(to_pixel(-0.5f, 1), to_pixel(-0.5f, 1))); // plain triangles
    EXPECT_TRUE(lit(to_pixel(0.5f, 1), to_pixel(0.5f, 1)));   // indexed
    EXPECT_FALSE(lit(to_pixel(0.5f, 1), to_pixel(-0.5f, 1))); // nothing there
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));

    // The first block is passed: its pair goes back to the pool and carries
    // the next block, which replaces the old picture.
    const int first_pair = batcher.blocks()[0].pair;
    batcher.release_before(1.5f);
    add_square(&batcher, 0.2f, -0.8f, 0.6f, 3.0f, false);
    batcher.end_render_block();
    EXPECT_EQ(batcher.blocks().back().pair, first_pair);
    glClear(GL_COLOR_BUFFER_BIT);
    gl.draw(batcher);
    EXPECT_FALSE(lit(to_pixel(-0.5f, 1), to_pixel(-0.5f, 1)));
    EXPECT_TRUE(lit(to_pixel(0.5f, 1), to_pixel(-0.5f, 1)));
    EXPECT_TRUE(lit(to_pixel(0.5f, 1), to_pixel(0.5f, 1)));
}

// ---- Particles --------------------------------------------------------

// ---- Solar flares -----------------------------------------------------

namespace {
// A square of side 2 around the origin in the xy plane, with normals and
// texture coordinates.
void write_square_mesh(const std::string& path) {
    sMeshData mesh;
    mesh.m_flags = MESH_HAS_NORMALS | MESH_HAS_TEXCOORDS;
    mesh.m_pos = {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
    mesh.m_norm = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    mesh.m_tex0 = {0, 0, 1, 0, 1, 1, 0, 1};
    mesh.m_indices = {0, 1, 2, 0, 2, 3};
    mesh.m_matswitches = {0, 6};
    std::string error;
    ASSERT_TRUE(bzobj_write_file(mesh, path, &error)) << error;
}

// What the flare draw must leave as it found it, by name.
std::map<std::string, GLint> gl_state() {
    std::map<std::string, GLint> s;
    s["modelview depth"] = gl_int(GL_MODELVIEW_STACK_DEPTH);
    s["projection depth"] = gl_int(GL_PROJECTION_STACK_DEPTH);
    for (int u = 1; u >= 0; --u) {
        ext::glActiveTextureARB(GLenum(GL_TEXTURE0_ARB + u));
        const std::string unit = "unit " + std::to_string(u);
        s[unit + " texture depth"] = gl_int(GL_TEXTURE_STACK_DEPTH);
        s[unit + " 2D enabled"] = glIsEnabled(GL_TEXTURE_2D);
        s[unit + " 2D binding"] = gl_int(GL_TEXTURE_BINDING_2D);
    }
    s["active unit"] = gl_int(GL_ACTIVE_TEXTURE_ARB);
    s["matrix mode"] = gl_int(GL_MATRIX_MODE);
    s["array buffer"] = gl_int(GL_ARRAY_BUFFER_BINDING_ARB);
    s["vertex array"] = glIsEnabled(GL_VERTEX_ARRAY);
    s["cull face"] = glIsEnabled(GL_CULL_FACE);
    s["blend"] = glIsEnabled(GL_BLEND);
    s["depth test"] = glIsEnabled(GL_DEPTH_TEST);
    s["shader stack"] = GLint(cShaderManager_GLSL::instance()->shader_stack().size());
    return s;
}
} // namespace

TEST_F(EffectsGlTest, FlareDrawLeavesTheStateItFound) {
    const std::string dir = make_temp_dir("sunflare");
    write_square_mesh(dir + "/sun.bzobj");
    write_square_mesh(dir + "/sunflare.bzobj");
    std::vector<std::uint8_t> orange;
    for (int i = 0; i < 8 * 8; ++i)
        orange.insert(orange.end(), {255, 160, 0});
    write_rgb_image(dir + "/sun_diffuse.jpg", 8, 8, orange);
    for (const char* name :
         {"sun_flare_gasses_fade2", "sun_flare_gradient", "sun_particle_ambientgasses"})
        write_rgb_image(dir + "/" + name + ".png", 8, 8, std::vector<std::uint8_t>(8 * 8 * 3, 255));
    cResourcePath::instance()->push_searchpath(dir);

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
    const std::map<std::string, GLint> before = gl_state();

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
    EXPECT_EQ(flares.system().flares().size(), 5u);
    ASSERT_NE(flares.particles(), nullptr);
    EXPECT_EQ(flares.particles()->count(), flares.emitter()->particle_count());
    glPushMatrix();
    flares.draw(400);
    glPopMatrix();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(gl_state(), before);
    EXPECT_EQ(shaders->current_shader(), "notex_shader");
    EXPECT_EQ(gl_int(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(gl_int(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    GLboolean depth_mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_mask);
    EXPECT_TRUE(depth_mask);
    shaders->unbind();
}
