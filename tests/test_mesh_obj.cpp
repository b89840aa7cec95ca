// Meshes in vertex buffers with their materials, drawn on a real context.
#include "gl_entry.h"
#include "gl_test_support.h"
#include "mesh_files/bzobj_loader.h"
#include "mesh_files/bzobj_writer.h"
#include "mesh_files/mesh_obj.h"
#include "resource_path.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
// Two triangles side by side in clip space: left in material 0, right in 1.
sMeshData two_triangles(int illum0, int illum1) {
    sMeshData data;
    data.m_flags = MESH_DRAW_BY_MATERIAL;
    data.m_pos = {-0.9f, -0.5f, 0, -0.1f, -0.5f, 0, -0.5f, 0.5f, 0,
                  0.1f,  -0.5f, 0, 0.9f,  -0.5f, 0, 0.5f,  0.5f, 0};
    data.m_indices = {0, 1, 2, 3, 4, 5};
    data.m_matswitches = {0, 3, 6};
    cMaterial_data red("red"), green("green");
    red.m_illum = illum0;
    red.m_diffuse[0] = 1.0f;
    green.m_illum = illum1;
    green.m_diffuse[1] = 1.0f;
    data.m_materials = {red, green};
    return data;
}

class MeshObjTest : public testing::Test {
protected:
    void SetUp() override {
        ensure_gl_context();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override {
        glEnable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
    }
};
} // namespace

TEST_F(MeshObjTest, WithMaterialsOffItDrawsOneRangeAndLeavesTexturesAlone) {
    cMeshObj mesh(two_triangles(0, 0));
    mesh.switch_materials_off();
    mesh.upload(true);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    ext::glActiveTextureARB(GL_TEXTURE2_ARB);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_TEXTURE_2D);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glDisable(GL_LIGHTING);
    glColor4f(0, 0, 1, 1);
    mesh.draw();
    glEnable(GL_LIGHTING);
    EXPECT_GE(read_pixel(512 + 256, 64 + 300)[2], 250); // both triangles, current colour
    ext::glActiveTextureARB(GL_TEXTURE2_ARB);
    EXPECT_EQ(GLuint(gl_int(GL_TEXTURE_BINDING_2D)), texture);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glDeleteTextures(1, &texture);
}

TEST_F(MeshObjTest, TexturesComeFromTheNamesWithTheirWrapModes) {
    const std::string dir = make_temp_dir("mesh_textures");
    for (const char* name : {"/diffuse.png", "/fallback.png"})
        write_rgb_image(dir + name, 4, 4, std::vector<std::uint8_t>(4 * 4 * 3, 200));
    cResourcePath::instance()->push_searchpath(dir);
    auto wrap_of = [](const cTexProxy& texture) {
        texture.bind();
        GLint wrap = 0;
        glGetTexParameteriv(texture.get_textarget(), GL_TEXTURE_WRAP_S, &wrap);
        texture.unbind();
        return wrap;
    };

    cMaterial_GL fallback_only;
    fallback_only.m_texnames[MATTEX_FALLBACK] = "fallback.png";
    fallback_only.m_opacity = 0.5f;
    fallback_only.prepare_textures();
    ASSERT_TRUE(fallback_only.m_textures[cMaterial_GL::SLOT_DIFFUSE].isValid());
    EXPECT_EQ(wrap_of(fallback_only.m_textures[cMaterial_GL::SLOT_DIFFUSE]), GL_REPEAT);
    EXPECT_FLOAT_EQ(fallback_only.m_specular[3], 0.5f);

    cMaterial_GL both;
    both.m_texnames[MATTEX_DIFFUSE] = "diffuse.png";
    both.m_texnames[MATTEX_FALLBACK] = "fallback.png";
    both.prepare_textures();
    EXPECT_EQ(wrap_of(both.m_textures[cMaterial_GL::SLOT_DIFFUSE]), GL_CLAMP);
}

TEST_F(MeshObjTest, LoadsAWrittenFileByItsBareNameAndDrawsEachRangeWithItsMaterial) {
    const std::string dir = make_temp_dir("mesh_files");
    std::string error;
    ASSERT_TRUE(bzobj_write_file(two_triangles(0, 0), dir + "/pair.bzobj", &error)) << error;
    cResourcePath::instance()->push_searchpath(dir);
    std::unique_ptr<iMesh> mesh(BzObjLoader::create("models/pair.bzobj"));
    auto* obj = dynamic_cast<cMeshObj*>(mesh.get());
    ASSERT_NE(obj, nullptr);
    ASSERT_EQ(obj->m_materials.size(), 2u);
    mesh->upload(true);
    mesh->draw();
    // Model 0 shows the diffuse colour as emission, whatever the lights.
    const std::vector<std::uint8_t> left = read_pixel(512 - 256, 64 + 300);
    const std::vector<std::uint8_t> right = read_pixel(512 + 256, 64 + 300);
    EXPECT_TRUE(left[0] >= 250 && left[1] == 0);
    EXPECT_TRUE(right[0] == 0 && right[1] >= 250);
    EXPECT_EQ(gl_int(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE0_ARB);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(MeshObjTest, CopiesOfOneRangeDrawWithItsMaterialAndLeaveNoTextureBound) {
    const std::string dir = make_temp_dir("mesh_copies");
    write_rgb_image(dir + "/white.png", 4, 4, std::vector<std::uint8_t>(4 * 4 * 3, 255));
    cResourcePath::instance()->push_searchpath(dir);
    // The left triangle alone in the red material with a white texture; the
    // second copy moves onto the right.
    sMeshData data = two_triangles(0, 0);
    data.m_indices.resize(3);
    data.m_matswitches = {0, 3};
    data.m_materials.resize(1);
    data.m_materials[0].m_texnames[MATTEX_FALLBACK] = "white.png"; // repeats: no border
    cMeshObj mesh(std::move(data));
    mesh.m_materials[0].prepare_textures();
    ASSERT_TRUE(mesh.m_materials[0].m_textures[cMaterial_GL::SLOT_DIFFUSE].isValid());
    mesh.upload(true);
    mesh.draw_copies(2, [](int copy) { glTranslatef(float(copy), 0.0f, 0.0f); });
    for (int x : {512 - 256, 512 + 256}) {
        SCOPED_TRACE(x);
        const std::vector<std::uint8_t> pixel = read_pixel(x, 64 + 300);
        EXPECT_TRUE(pixel[0] >= 250 && pixel[1] == 0);
    }
    EXPECT_EQ(gl_int(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE0_ARB);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(gl_int(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
