// Every asset the show's scenes load, taken from what the scenes ask for when
// they load: each resolves through the search paths and parses, and each
// scene draws a frame with it without a GL error.
#include "gl_entry.h"
#include "gl_test_support.h"
#include "mesh_files/bzobj_parser.h"
#include "mesh_files/camera_path.h"
#include "read_file.h"
#include "resource_path.h"
#include "scene_manager.h"
#include "shader_manager_glsl.h"
#include "show_scenes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {
bool ends_with(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}
} // namespace

TEST(ShowAssetsTest, EverySceneLoadsItsAssetsAndDrawsAFrame) {
    ensure_gl_context();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    push_show_searchpaths();
    cShaderManager_GLSL::instance()->init();
    cSceneManager* manager = cSceneManager::instance();
    add_show_scenes(manager);
    manager->load_scenes(nullptr);
    testing::internal::GetCapturedStdout();
    std::string load_output = testing::internal::GetCapturedStderr();
    EXPECT_EQ(load_output.find("ERROR"), std::string::npos) << load_output;
    ASSERT_EQ(manager->m_scenes.size(), 7u);

    // What the scenes asked for, without repeats.
    const std::vector<std::string> requested = cResourcePath::instance()->requested();
    std::set<std::string> names(requested.begin(), requested.end());
    EXPECT_GT(names.size(), 40u);
    for (const std::string& name : names) {
        const std::string path = cResourcePath::instance()->get_fullpath(name);
        ASSERT_FALSE(path.empty()) << name;
        if (ends_with(name, ".bzobj")) {
            std::vector<unsigned char> bytes;
            ASSERT_TRUE(read_file(path, &bytes)) << path;
            sMeshData mesh;
            sBzObjError error;
            EXPECT_TRUE(bzobj_parse(bytes.data(), bytes.size(), path, &mesh, &error))
                << error.m_message;
        } else if (ends_with(name, ".pth")) {
            cCameraPath camera_path;
            EXPECT_TRUE(camera_path.load(path)) << path;
            EXPECT_GE(camera_path.size(), 2u) << path;
        }
    }

    // One frame of each scene, as the show enters it.
    for (std::size_t i = 0; i < manager->m_scenes.size(); ++i) {
        cScene* scene = manager->m_scenes[i];
        testing::internal::CaptureStderr();
        scene->enter();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene->update();
        scene->draw();
        scene->leave();
        std::string output = testing::internal::GetCapturedStderr();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << scene->get_name();
        EXPECT_EQ(output.find("ERROR"), std::string::npos) << scene->get_name() << output;
    }
    cSceneManager::destroy();
}
