// Vertex buffers on a real context: uploads and mappings drawn and read back,
// the client state the bind operations leave behind.
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "mesh_files/vbo.h"
#include "render_fsq.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {
// A triangle over the lower left half of the unit square; its colour is white.
const float kTriangle[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};

// Draws count vertices of the bound arrays over a 100 x 100 viewport that
// shows the unit square.
void draw_unit_triangles(int count) {
    glViewport(0, 0, 100, 100);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    begin_fsq();
    glDrawArrays(GL_TRIANGLES, 0, count);
    end_fsq();
    cDisplaySettings::instance()->set_viewport();
}

class VboTest : public testing::Test {
protected:
    void SetUp() override { ensure_gl_context(); }
    void TearDown() override {
        glDisableClientState(GL_VERTEX_ARRAY);
        ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
};
} // namespace

TEST_F(VboTest, UploadedAndMappedVerticesAreDrawn) {
    cVBO uploaded(3);
    EXPECT_NE(uploaded.get_buffer(), 0u);
    uploaded.upload(3, kTriangle);
    uploaded.bind_vertices();
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    draw_unit_triangles(3);
    EXPECT_EQ(read_pixel(20, 20), (std::vector<std::uint8_t>{255, 255, 255}));
    EXPECT_EQ(read_pixel(80, 80), (std::vector<std::uint8_t>{0, 0, 0}));

    // A per-frame buffer: allocated empty, filled through a mapping. The
    // fourth component is w.
    cVBO dynamic(4);
    dynamic.set_usage(GL_DYNAMIC_DRAW_ARB);
    dynamic.upload(3);
    float* data = dynamic.map();
    ASSERT_NE(data, nullptr);
    const float upper[12] = {1, 1, 0, 1, 0, 1, 0, 1, 1, 0, 0, 1};
    std::copy(upper, upper + 12, data);
    dynamic.unmap();
    dynamic.bind_vertices();
    draw_unit_triangles(3);
    EXPECT_EQ(read_pixel(20, 20), (std::vector<std::uint8_t>{0, 0, 0}));
    EXPECT_EQ(read_pixel(80, 80), (std::vector<std::uint8_t>{255, 255, 255}));
}

TEST_F(VboTest, TexcoordsOfUnitOneLeaveTheClientUnitAtZero) {
    cVBO coords(2);
    coords.upload(3, kTriangle);
    coords.bind_texcoords(GL_TEXTURE1_ARB);
    EXPECT_EQ(gl_int(GL_CLIENT_ACTIVE_TEXTURE_ARB), GL_TEXTURE0_ARB);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    ext::glClientActiveTextureARB(GL_TEXTURE1_ARB);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_EQ(gl_int(GL_TEXTURE_COORD_ARRAY_SIZE), 2);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    ext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
}

namespace {
PFNGLDELETEBUFFERSARBPROC g_real_delete = nullptr;
std::vector<GLuint> g_deleted;
void APIENTRY counting_delete(GLsizei n, const GLuint* names) {
    g_deleted.insert(g_deleted.end(), names, names + n);
    g_real_delete(n, names);
}
} // namespace

TEST_F(VboTest, ReleaseThenDestructionDeletesTheBufferOnce) {
    g_real_delete = ext::glDeleteBuffersARB;
    ext::glDeleteBuffersARB = counting_delete;
    g_deleted.clear();
    GLuint name = 0;
    {
        cVBO vbo(3);
        name = vbo.get_buffer();
        vbo.release();
        EXPECT_EQ(vbo.get_buffer(), 0u);
        vbo.release();
    }
    ext::glDeleteBuffersARB = g_real_delete;
    EXPECT_EQ(g_deleted, std::vector<GLuint>{name});
}

using VboDeathTest = VboTest;

TEST_F(VboDeathTest, BindingTheWrongShapeStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(cVBO(2).bind_vertices(), "Assertion failed: \\(m_size == 3\\) \\|\\| "
                                          "\\(m_size == 4\\)");
}
