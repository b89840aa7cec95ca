// The show's scenes as the program adds and loads them. Every asset they
// load resolves through the search paths and parses; each scene draws a frame
// without a GL error, in the show's order and from the state the scene before
// it left.
#include "event_queue.h"
#include "event_queue_factory.h"
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

#include <memory>
#include <set>
#include <string>

namespace {
bool ends_with(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The show's seven scenes, added and loaded once for the suite.
class ShowScenesTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ensure_gl_context();
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        push_show_searchpaths();
        cShaderManager_GLSL::instance()->init();
        s_manager = cSceneManager::instance();
        add_show_scenes(s_manager);
        s_manager->load_scenes(nullptr);
        testing::internal::GetCapturedStdout();
        s_load_output = testing::internal::GetCapturedStderr();
    }
    static void TearDownTestSuite() {
        cSceneManager::destroy();
        reset_show_scene_state();
    }
    static cSceneManager* s_manager;
    static std::string s_load_output;
};
cSceneManager* ShowScenesTest::s_manager = nullptr;
std::string ShowScenesTest::s_load_output;
} // namespace

TEST_F(ShowScenesTest, EverySceneLoadsItsAssets) {
    EXPECT_EQ(s_load_output.find("ERROR"), std::string::npos) << s_load_output;
    ASSERT_EQ(s_manager->m_scenes.size(), 7u);
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
}

TEST_F(ShowScenesTest, EverySceneDrawsAFrameInTheShowsOrder) {
    // One frame of each scene in the order the marker script switches to
    // them. Whatever the scene before drew, the next one starts without a
    // shader and with the fixed-function switches it may rely on off, but
    // for those its own start turns on.
    std::unique_ptr<cEventQueue> markers(
        cEventQueue_factory::loadFile(VANTREL_SOURCE_DIR "/data/script/markers.txt"));
    ASSERT_TRUE(markers);
    const GLenum kOff[] = {GL_LIGHTING, GL_LIGHT0,     GL_FOG,
                           GL_BLEND,    GL_TEXTURE_2D, GL_TEXTURE_RECTANGLE_ARB};
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    std::string previous = "start-up";
    int switches = 0;
    for (std::size_t e = 0; e < markers->size(); ++e) {
        const int number = markers->at(e)->m_type;
        if (number < 0 || number >= int(s_manager->m_scenes.size()))
            continue;
        ++switches;
        cScene* scene = s_manager->m_scenes[std::size_t(number)];
        SCOPED_TRACE(previous + " to scene " + std::to_string(number) + " " + scene->get_name());
        testing::internal::CaptureStderr();
        scene->enter();
        EXPECT_EQ(shaders->current_shader(), kNullShader);
        EXPECT_TRUE(shaders->shader_stack().empty());
        GLint value = -1;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &value);
        EXPECT_EQ(value, 0);
        glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &value);
        EXPECT_EQ(value, GL_TEXTURE0_ARB);
        for (GLenum cap : kOff) {
            // The attractor draws its clouds blended and says so at its start.
            const bool own = number == 3 && cap == GL_BLEND;
            EXPECT_EQ(bool(glIsEnabled(cap)), own) << "GL enable 0x" << std::hex << cap;
        }
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene->update();
        scene->draw();
        scene->leave();
        std::string output = testing::internal::GetCapturedStderr();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
        previous = "scene " + std::to_string(number) + " " + scene->get_name();
    }
    EXPECT_EQ(switches, 7);
}
