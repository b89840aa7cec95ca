// Vertex buffers on a real context: uploads and mappings drawn and read back,
// and the buffer's release.
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

// A per-frame buffer: allocated empty, filled through a mapping. The fourth
// component is w.
TEST_F(VboTest, AMappedPerFrameBufferIsDrawn) {
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
