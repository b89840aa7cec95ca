// The show's scenes as the program adds and loads them. Every asset they
// load resolves through the search paths; each scene draws a frame
// without a GL error, in the show's order and from the state the scene before
// it left; and each offers its tweak variables.
#include "event_queue.h"
#include "event_queue_factory.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "gui/gui_slider.h"
#include "gui/gui_var_list.h"
#include "gui/gui_vec3_slider.h"
#include "resource_path.h"
#include "scene_manager.h"
#include "shader_manager_glsl.h"
#include "show_scenes.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace {
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
    for (const std::string& name : names)
        EXPECT_FALSE(cResourcePath::instance()->get_fullpath(name).empty()) << name;
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

TEST_F(ShowScenesTest, VariableListsOfEveryScene) {
    // Each entry as "name min..max", or the name alone for a display-only row.
    const std::string levels = "in black 0..255, in white 0..255, gamma 0..4, out black 0..255, "
                               "out white 0..255, ";
    const std::string hsb = "hue -180..180, saturation -100..100, brightness -100..100, ";
    const std::string cut = "pre-cut 0..255, post-cut 0..255, ";
    auto camera = [](const std::string& r) {
        return "cam-eye -" + r + ".." + r + ", cam-its -" + r + ".." + r + ", cam-fov 20..160, ";
    };
    const std::string flares = "decay time 500..10000, num flares 0..1000, points pr sec "
                               "0..100000, p-life(min,nl,rnd) 0..40, p-col 0..1, p-alpha 0..0.1, "
                               "p-size 0..7, ";
    const std::string room = levels + hsb + cut + camera("1500") + "decay 500..3000, blend 0..1, ";
    const std::string expected[7] = {
        levels + flares,
        "angle -3.14159..3.14159, propagation 100..2000, " + camera("1000") +
            "col1 0..1, col2 0..1, beatdec 0..1000, " + cut + levels,
        room + "path, " + flares,
        "p0 -3..3, p1 -3..3, p2 -3..3, p3 -3..3, randscale 0.1..5, color0 0..1, color0A 0..0.2, "
        "pts-size0 0.25..10, color1 0..1, color1A 0..0.1, pts-size1 0.25..10, anim 0..4, "
        "rot 0..360, ",
        "clearcolor-r 0..1, diff-col 0..1, speed -6..30, rotspeed -90..90, density 2..20, "
        "radius(min,max,dist) 0.1..4, radialDepth 0.5..15, minNborNodeDist 0..0.6, numNbors "
        "2..10, cylinderRadius 0.01..0.1, useSpline -1..1, fog density 0..1, beat length "
        "10..1000, splitfac 0..10, splitsub 0..10, rdist 0..10, rdist2 0..50, ",
        room,
        "",
    };
    ASSERT_EQ(s_manager->m_scenes.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) {
        cScene* scene = s_manager->m_scenes[i];
        SCOPED_TRACE(scene->get_name());
        cGuiVarList list;
        scene->add_vars(&list);
        std::ostringstream entries;
        for (std::size_t e = 0; e < list.entry_count(); ++e) {
            entries << list.entry(e).first->get_name();
            iGuiNode* widget = list.entry(e).second;
            if (auto* slider = dynamic_cast<cGuiSlider*>(widget))
                entries << " " << slider->get_min() << ".." << slider->get_max();
            else if (auto* vec3 = dynamic_cast<cGuiVec3Slider*>(widget))
                entries << " " << vec3->get_min() << ".." << vec3->get_max();
            entries << ", ";
        }
        EXPECT_EQ(entries.str(), expected[i]);
    }
}
