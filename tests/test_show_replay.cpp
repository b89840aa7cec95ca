// The makers' mode's replay: the show put back at its start or at a
// snapshot and stepped through its frames without drawing them.
#include "event_queue_factory.h"
#include "midi_loader.h"
#include "scene_fixture.h"
#include "scenes/scene_attractor.h"
#include "tool/show_replay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
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

TEST_F(ShowReplayTest, SeeksBackAndForthLandOnThePicturesOfARunThatDrewEveryStep) {
    // Every scene for 200 ms in the show's order, with the soundtrack's
    // notes and beats, then the end scene for 6 s: a stretch with no switch.
    const char kMarkers[] = "s03 0:0:0,001\ns00 0:0:0,201\ns01 0:0:0,401\ns04 0:0:0,601\n"
                            "s05 0:0:0,801\ns02 0:0:1,001\ns06 0:0:1,201\n";
    m_manager->m_eventqueue = cEventQueue_factory::loadText(kMarkers, std::strlen(kMarkers));
    testing::internal::CaptureStdout();
    cMidiLoader().load(m_manager->m_eventqueue);
    testing::internal::GetCapturedStdout();
    m_manager->m_eventqueue->rewind();
    auto differing = [](const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
        std::size_t count = 0;
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
            count += a[i] != b[i] ? 1 : 0;
        return count + (a.size() != b.size() ? 1 : 0);
    };
    auto picture = [&] {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        m_manager->draw_current();
        return read_rgb(0, 0, 1024, 768);
    };
    // The last step of each scene (the switches land on steps 13, 25, ...,
    // 73), one in the long
    // stretch, and a step shortly after the one before (the seek goes on
    // from there), in an order that crosses the switches both ways.
    const std::int64_t kTargets[] = {440, 12, 60, 12, 24, 72, 12, 36, 12, 48, 40, 46, 12, 440};
    std::map<std::int64_t, std::vector<std::uint8_t>> drawn;

    // As a capture at 60 frames per second: every step updated and drawn,
    // no snapshot taken.
    testing::internal::CaptureStderr();
    m_replay.restart(m_manager);
    for (std::int64_t step = 0; step <= 440; ++step) {
        m_clock.set_ms(cShowReplay::step_time_ms(step));
        m_manager->update();
        if (step < 84 || std::count(std::begin(kTargets), std::end(kTargets), step))
            drawn[step] = picture();
    }

    std::int64_t current = -1;
    for (std::int64_t target : kTargets) {
        SCOPED_TRACE("seek to step " + std::to_string(target) + " from " + std::to_string(current));
        const bool first = current < 0;
        const sSeekResult result = m_replay.seek(m_manager, current, target, nullptr);
        current = target;
        EXPECT_FALSE(result.cancelled);
        // The first seek replays from the start; the one to 46 goes on from 40.
        EXPECT_TRUE(first || result.steps <= 300) << result.steps;
        EXPECT_TRUE(target != 46 || result.from_step == 40) << result.from_step;
        // Drawn twice, as the makers' mode does while paused.
        EXPECT_EQ(differing(picture(), drawn[target]), 0u);
        EXPECT_EQ(differing(picture(), drawn[target]), 0u) << "drawn again";
    }

    // Escape during a replay: the show stays where it was.
    const std::vector<std::uint8_t> before = picture();
    const sSeekResult cancelled =
        m_replay.seek(m_manager, -1, 430, [](std::int64_t at) { return at < 245; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.from_step, 240);
    EXPECT_EQ(differing(picture(), before), 0u);
    const std::string output = testing::internal::GetCapturedStderr();
    EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
    EXPECT_NE(
        output.find(
            "# tool: seek to 00:00:07,166 cancelled, from a snapshot at 00:00:04,000, 5 steps"),
        std::string::npos)
        << output;
}
} // namespace
