// The makers' mode's replay: the show put back at its start and stepped
// through its frames without drawing them.
#include "event_queue_factory.h"
#include "midi_loader.h"
#include "scene_fixture.h"
#include "scenes/scene_attractor.h"
#include "tool/show_replay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
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

TEST_F(ShowReplayTest, StepsThatAreNotDrawnGiveThePictureOfStepsThatWere) {
    // Every scene for 200 ms in the show's order, with the soundtrack's
    // notes and beats.
    const char kMarkers[] = "s03 0:0:0,001\ns00 0:0:0,201\ns01 0:0:0,401\ns04 0:0:0,601\n"
                            "s05 0:0:0,801\ns02 0:0:1,001\ns06 0:0:1,201\n";
    m_manager->m_eventqueue = cEventQueue_factory::loadText(kMarkers, std::strlen(kMarkers));
    testing::internal::CaptureStdout();
    cMidiLoader().load(m_manager->m_eventqueue);
    testing::internal::GetCapturedStdout();
    m_manager->m_eventqueue->rewind();

    // The last step of each scene (12 steps, 200 ms) is drawn. The first run
    // draws every step as a capture does; the second, a replay after it,
    // only those, twice (as the makers' mode does while paused).
    const int kSteps = 12, kScenes = 7;
    std::vector<std::vector<std::uint8_t>> pictures[3];
    for (int run = 0; run < 2; ++run) {
        testing::internal::CaptureStderr();
        m_replay.restart(m_manager);
        for (int step = 0; step < kSteps * kScenes; ++step) {
            m_replay.step(m_manager, step);
            const bool last = step % kSteps == kSteps - 1;
            if (run == 1 && !last)
                continue;
            for (int draw = 0; draw < run + 1; ++draw) {
                glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                m_manager->draw_current();
                if (last)
                    pictures[run + draw].push_back(read_rgb(0, 0, 1024, 768));
            }
        }
        const std::string output = testing::internal::GetCapturedStderr();
        EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
    }
    for (const auto& run : pictures)
        ASSERT_EQ(run.size(), std::size_t(kScenes));
    for (int k = 0; k < kScenes; ++k) {
        SCOPED_TRACE(m_manager->m_scenes[std::size_t(kMarkers[k * 14 + 2] - '0')]->get_name());
        for (int other = 1; other < 3; ++other) {
            std::size_t differing = 0;
            for (std::size_t i = 0; i < pictures[0][k].size(); ++i)
                differing += pictures[0][k][i] != pictures[other][k][i] ? 1 : 0;
            EXPECT_EQ(differing, 0u) << "draw " << other;
        }
    }
}
} // namespace
