// Event reactions and timing of the solar flare and scrub scenes, without
// drawing: the sun's fades; drum flashes and the growth course of the scrub.
#include "clock.h"
#include "effects/scrub.h"
#include "midi_event.h"
#include "scene_manager.h"
#include "scenes/scene_scrub.h"
#include "scenes/scene_solar_flare.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {
cMETrigger note(int track, int kind = iMidiEvent::KIND_NOTE_ON) {
    return cMETrigger(0, kind, track, 36, 100);
}
} // namespace

TEST(SolarFlareScene, TrackSixFadesToBlackAndTrackSevenToWhite) {
    sTimeBlock time;
    cSceneSolarFlare scene(&time);
    time.current = 10000;
    cMETrigger off6 = note(6, iMidiEvent::KIND_NOTE_OFF), on5 = note(5), on8 = note(8);
    cMECtrlChange ctrl6(0, 6, 7, 100);
    cEvent tick(EV_MIDI_BEAT, 0);
    for (cEvent* e : {(cEvent*)&off6, (cEvent*)&on5, (cEvent*)&on8, (cEvent*)&ctrl6, &tick})
        scene.on_event(e);
    scene.apply_fades(20000);
    EXPECT_EQ(scene.m_levels.in_black, 0.0f);
    EXPECT_EQ(scene.m_levels.out_black, 0.0f);

    cMETrigger on6 = note(6), on7 = note(7);
    scene.on_event(&on6); // at 10 s
    const std::pair<int, float> black[] = {{10180, 0}, {10480, 125}, {60000, 250}};
    for (auto [ms, in_black] : black) {
        scene.apply_fades(ms);
        EXPECT_FLOAT_EQ(scene.m_levels.in_black, in_black) << ms;
    }
    EXPECT_EQ(scene.m_levels.out_black, 0.0f);
    time.current = 20000;
    scene.on_event(&on7);
    scene.apply_fades(20300);
    EXPECT_FLOAT_EQ(scene.m_levels.out_black, 255.0f);
}

class ScrubSceneTest : public testing::Test {
protected:
    void SetUp() override {
        cSceneScrub::reset_travel();
        cSceneManager::instance()->m_music_enabled = false;
        cSceneManager::instance()->set_clock(&m_clock);
    }
    void TearDown() override {
        cSceneManager::destroy();
        cSceneScrub::reset_travel();
    }

    void load_markers(const std::string& script) {
        testing::internal::CaptureStdout();
        cSceneManager::instance()->load(write_temp_file("scrub_markers.txt", script));
        testing::internal::GetCapturedStdout();
    }
    void update_at(cSceneScrub& scene, int ms) {
        m_time.previous = m_time.current;
        m_time.current = ms;
        scene.update();
    }

    cClock_manual m_clock;
    sTimeBlock m_time;
};

TEST_F(ScrubSceneTest, CourseRunsInTwoPhasesUpToTheSwitchToSceneFive) {
    // First update at 10 s, "s05" at 30 s: p = (t - 10 s) / 20 s. The time
    // of the first update is shared: the second instance measures from it.
    load_markers("s04 0:0:0,0\ns05 0:0:30,0\n");
    cSceneScrub first(&m_time), scene(&m_time);
    update_at(first, 10000);

    update_at(scene, 14000); // p 0.2, s = smoothstep(0.4) = 0.352
    EXPECT_NEAR(scene.m_speed, 5.0f + 5.0f * 0.352f, 1e-5);
    EXPECT_FLOAT_EQ(scene.m_scrub->m_radialDepth, 1.0f);
    update_at(scene, 18000); // p 0.4: second phase, s = 0
    EXPECT_FLOAT_EQ(scene.m_speed, 10.0f);
    update_at(scene, 30000); // p 1, s = 1
    EXPECT_FLOAT_EQ(scene.m_speed, 3.0f);
    EXPECT_FLOAT_EQ(scene.m_scrub->m_radialDepth, 5.0f);
}

TEST_F(ScrubSceneTest, TrackOneDrumNoteFlashesBlueAndThickensTheFogForOneBeatLength) {
    cSceneScrub scene(&m_time);
    m_time.current = 1000;
    cMETrigger off1 = note(1, iMidiEvent::KIND_NOTE_OFF), on2 = note(2), on1 = note(1);
    scene.on_event(&off1);
    scene.on_event(&on2);
    EXPECT_EQ(scene.m_last_beat_ms, -10000);
    scene.on_event(&on1);
    // (ms, flash, fog): the fog lift follows the smoothed flash.
    const float course[][3] = {{1000, 1, 0.4f}, {1200, 0.5f, 0.3f}, {1400, 0, 0.2f}};
    for (const auto& c : course) {
        update_at(scene, int(c[0]));
        EXPECT_FLOAT_EQ(scene.m_flash, c[1]) << c[0];
        EXPECT_NEAR(scene.m_fog, c[2], 1e-6) << c[0];
    }
}
