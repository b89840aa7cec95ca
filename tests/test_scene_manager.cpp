#include "clock.h"
#include "event_queue_factory.h"
#include "scene_dummy.h"
#include "scene_manager.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// A scene that writes every call into a shared log.
class cRecordingScene : public cScene {
public:
    cRecordingScene(const sTimeBlock* time, std::string name, std::vector<std::string>* log)
        : cScene(time), m_name(std::move(name)), m_log(log) {}
    std::string get_name() override { return m_name; }
    void load() override { m_log->push_back(m_name + ".load"); }
    void enter() override { m_log->push_back(m_name + ".enter"); }
    void leave() override { m_log->push_back(m_name + ".leave"); }
    void draw() override { m_log->push_back(m_name + ".draw"); }
    void on_event(cEvent* event) override {
        m_log->push_back(m_name + ".event" + std::to_string(event->m_type) + "@" +
                         std::to_string(timeline_ms()));
    }
    void update() override { m_log->push_back(m_name + ".update"); }

private:
    std::string m_name;
    std::vector<std::string>* m_log;
};

class SceneManagerTest : public testing::Test {
protected:
    void SetUp() override {
        m_manager = cSceneManager::instance();
        m_manager->set_clock(&m_clock);
        m_manager->m_music_enabled = false; // the timeline alone; no music file
    }
    void TearDown() override { cSceneManager::destroy(); }

    // Loads a script and adds scenes "a", "b", "c" as numbers 0 to 2.
    void load(const std::string& script) {
        std::string path = write_temp_file("manager_markers.txt", script);
        testing::internal::CaptureStdout();
        m_manager->load(path);
        testing::internal::GetCapturedStdout();
        for (const char* name : {"a", "b", "c"})
            m_manager->add_scene(new cRecordingScene(&m_manager->m_time, name, &m_log));
        m_manager->restart_clock();
    }
    // Runs one frame at the given timeline time; returns what the scenes logged.
    std::vector<std::string> frame_at(std::int64_t ms, bool* switched = nullptr) {
        m_log.clear();
        m_clock.set_ms(ms);
        bool result = m_manager->update();
        if (switched)
            *switched = result;
        return m_log;
    }

    cClock_manual m_clock;
    cSceneManager* m_manager = nullptr;
    std::vector<std::string> m_log;
};

using Log = std::vector<std::string>;
} // namespace

TEST_F(SceneManagerTest, EventsReachTheCurrentSceneOnceTheTimelinePassesThem) {
    load("s00 0:0:0,0\nsnare 0:0:0,500\ns01 0:0:1,0\nsnare 0:0:1,0\n");
    bool switched = false;
    // Nothing is due at 0; an event at 0 is due at 1 ms.
    EXPECT_EQ(frame_at(0, &switched), Log{});
    EXPECT_FALSE(switched);
    EXPECT_EQ(frame_at(1, &switched), (Log{"a.enter", "a.update"}));
    EXPECT_TRUE(switched);
    EXPECT_EQ(frame_at(501), (Log{"a.event17@501", "a.update"}));
    EXPECT_EQ(frame_at(700, &switched), Log{"a.update"});
    EXPECT_FALSE(switched);
}

TEST_F(SceneManagerTest, LongFrameHandsOutEverySwitchInOrder) {
    load("s00 0:0:0,100\ns01 0:0:0,200\nsnare 0:0:0,250\ns02 0:0:0,300\ns02 0:0:0,400\n");
    bool switched = false;
    EXPECT_EQ(frame_at(5000, &switched),
              (Log{"a.enter", "a.leave", "b.enter", "b.event17@5000", "b.leave", "c.enter",
                   // a switch to the current scene leaves and enters it again
                   "c.leave", "c.enter", "c.update"}));
    EXPECT_TRUE(switched);
    EXPECT_EQ(m_manager->m_current->get_name(), "c");
}

TEST_F(SceneManagerTest, UnknownSceneNumberFallsBackToTheDummyScene) {
    load("s00 0:0:0,0\ns07 0:0:0,100\nbeat 0:0:0,200\ns01 0:0:0,300\n");
    frame_at(50);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    EXPECT_EQ(frame_at(150), Log{"a.leave"});
    frame_at(250);
    testing::internal::GetCapturedStdout();
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "## ERROR: tried to switch to scene7, but it's not added."),
              std::string::npos);
    EXPECT_EQ(m_manager->m_current, m_manager->m_fallback);
    // The next valid switch leaves the dummy scene behind.
    EXPECT_EQ(frame_at(301), (Log{"b.enter", "b.update"}));
}

TEST_F(SceneManagerTest, MissingMarkerScriptMeansNoEventsNeverACrash) {
    testing::internal::CaptureStdout();
    m_manager->load("/nonexistent/markers.txt");
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Error reading file"), std::string::npos);
    EXPECT_EQ(m_manager->m_eventqueue, nullptr);
    m_manager->restart_clock();
    frame_at(100000);
    EXPECT_EQ(m_manager->m_current, nullptr);
    testing::internal::CaptureStderr();
    m_manager->draw_current();
    testing::internal::GetCapturedStderr();
}

TEST_F(SceneManagerTest, TimelineCountsExactMillisecondsFromTheClockRestart) {
    // The counter is far beyond the 32-bit millisecond range (about 290
    // days of uptime); loading takes 400 ms that do not count.
    const std::int64_t uptime_ms = std::int64_t(25) * 1000 * 1000 * 1000;
    m_clock.set_ms(uptime_ms);
    load("s00 0:0:0,500\n");
    m_clock.set_ms(uptime_ms + 400);
    m_manager->restart_clock();
    EXPECT_EQ(frame_at(uptime_ms + 400 + 500), Log{});
    EXPECT_EQ(frame_at(uptime_ms + 400 + 501), (Log{"a.enter", "a.update"}));
    EXPECT_EQ(m_manager->timeline_ms(), 501);

    // Like the platform clock: the quotient 1.001 s must not come out as 1000 ms.
    struct cNanoClock : iClock {
        std::int64_t counter() override { return m_ns; }
        std::int64_t frequency() override { return 1000000000; }
        std::int64_t m_ns = 0;
    } nano;
    m_manager->release();
    m_manager->set_clock(&nano);
    load("");
    for (std::int64_t ms : {1001, 4099, 123457, 86400001}) {
        nano.m_ns = ms * 1000000 + 999999;
        m_manager->update();
        EXPECT_EQ(m_manager->timeline_ms(), ms);
    }
}

using SceneManagerDeathTest = SceneManagerTest;

TEST_F(SceneManagerDeathTest, QuitMarkerExitsWithZero) {
    load("s00 0:0:0,0\nquit 0:0:1,0\n");
    frame_at(500);
    EXPECT_EXIT(frame_at(1001), testing::ExitedWithCode(0), "");
}
