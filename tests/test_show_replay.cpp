// The makers' mode's replay: the show put back at its start and stepped
// through its frames.
#include "clock.h"
#include "gl_test_support.h"
#include "resource_path.h"
#include "scene_manager.h"
#include "scenes/scene_attractor.h"
#include "shader_manager_glsl.h"
#include "show_replay.h"
#include "show_scenes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// The show's scenes loaded as at start-up, on the replay's clock.
class ShowReplayTest : public testing::Test {
protected:
    void SetUp() override {
        ensure_gl_context();
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        m_replay.remember_start();
        push_show_searchpaths();
        cShaderManager_GLSL::instance()->init();
        m_manager = cSceneManager::instance();
        m_manager->set_clock(&m_clock);
        add_show_scenes(m_manager);
        m_manager->load_scenes(nullptr);
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
    }
    void TearDown() override { cSceneManager::destroy(); }

    cClock_manual m_clock;
    cShowReplay m_replay{&m_clock};
    cSceneManager* m_manager = nullptr;
};

TEST_F(ShowReplayTest, ReloadedScenesStartAsAtStartUpAndTheResourceListsStay) {
    auto cloud = [&] {
        const auto* attractor = dynamic_cast<const cSceneAttractor*>(m_manager->m_scenes[3]);
        return std::vector<float>(attractor->m_p, attractor->m_p + 4);
    };
    const std::vector<float> loaded = cloud();
    testing::internal::CaptureStderr();
    // The first one also creates the glow pass, which asks for its programs.
    m_replay.restart(m_manager);
    const std::vector<std::string> paths = cResourcePath::instance()->searchpaths();
    const std::size_t requested = cResourcePath::instance()->requested().size();
    // A live frame of half a second before the next replay: loading takes
    // no frame time all the same.
    m_manager->m_time = sTimeBlock{0, 1000, 500};
    m_replay.restart(m_manager);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(cResourcePath::instance()->searchpaths(), paths);
    EXPECT_EQ(cResourcePath::instance()->requested().size(), requested);
    EXPECT_EQ(cloud(), loaded);
}
} // namespace
