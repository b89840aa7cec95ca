// The solar flare and scrub scenes rendered on a real context, driven through
// the scene manager with a manual clock, marker scripts and MIDI notes as the
// show delivers them; pixels are read back from the window.
#include "effects/solar_flares_gl.h"
#include "math/random.h"
#include "scene_fixture.h"
#include "scenes/scene_credits_sol.h"
#include "scenes/scene_scrub.h"
#include "scenes/scene_solar_flare.h"

namespace {
int max_channel(const std::vector<std::uint8_t>& p) {
    return std::max({p[0], p[1], p[2]});
}

// Mean of every channel over the box in the middle of the picture that the
// grown sun covers.
double mean_level() {
    return brightness(mean_rgb(read_rgb(432, 304, 160, 160)));
}

std::vector<std::uint8_t> centre() {
    return read_pixel(512, 384);
}

class SolarFlareScrubRenderTest : public SceneFixture {
protected:
    SolarFlareScrubRenderTest() { m_keeps_matrices = true; }
    template <typename T>
    T* start_after_attractor(const std::string& markers, int number,
                             const std::vector<cEvent*>& notes) {
        T* scene = start<T>(markers, notes, number);
        // The attractor scene, before these in the show, keeps depth writes
        // off between its frames and leaves its cloud colour current.
        glDepthMask(GL_FALSE);
        glColor4f(0.35f, 0.51f, 1.0f, 0.05f);
        return scene;
    }
};
} // namespace

TEST_F(SolarFlareScrubRenderTest, SolarFlareGrowsThenFadesToBlackOnTrackSixAndWhiteOnTrackSeven) {
    // The sun is full size 10 s after the first frame. A track-6 note at
    // 11 s, a note-off and a track-5 note that change nothing, a track-7
    // note at 12 s.
    auto* scene = start_after_attractor<cSceneSolarFlare>(
        "s00 0:0:0,001\ns01 0:0:13,001\n", 0,
        {midi_note(11000, 6), midi_note(10500, 6, iMidiEvent::KIND_NOTE_OFF), midi_note(10600, 5),
         midi_note(12000, 7)});
    run_to(2);
    EXPECT_LT(max_channel(centre()), 40) << "the sun has not grown yet";
    EXPECT_LT(mean_level(), 20.0);

    run_to(10900, 400);
    const double full = mean_level();
    EXPECT_GT(full, 80.0) << "the grown sun fills the centre";
    EXPECT_EQ(scene->m_fade_black_ms, -1);

    run_to(11150, 50); // the note is handed out at 11050 ms: 100 ms later unchanged
    EXPECT_EQ(scene->m_fade_black_ms, 11050);
    EXPECT_GT(mean_level(), full * 0.8);

    run_to(11850); // 800 ms after the note: only the hottest spots of the
                   // texture and the brightest gases and flares (250 and
                   // above) pass
    EXPECT_LT(mean_level(), full / 1.5);
    EXPECT_LT(centre()[1], 60);

    run_to(12400); // 300 ms after the track-7 note: white through the
                   // orange lookup, whose top entry is (255, 240, 199)
    for (int x : {100, 512, 900})
        for (int y : {100, 384, 650}) {
            const std::vector<std::uint8_t> p = read_pixel(x, y);
            EXPECT_GE(p[0], 250);
            EXPECT_GE(p[1], 235);
            EXPECT_GE(p[2], 195);
        }
}

TEST_F(SolarFlareScrubRenderTest, ScrubFlashesBlueOnTrackOneDrumsAndLeaveSwitchesFogAndLightOff) {
    auto* scene = start_after_attractor<cSceneScrub>(
        "s04 0:0:0,001\ns03 0:0:5,000\ns05 0:0:40,001\n", 4,
        {midi_note(3000, 1), midi_note(2500, 2), midi_note(2600, 1, iMidiEvent::KIND_NOTE_OFF)});
    run_to(2900, 200);
    // Looking down the tunnel axis into fog of the clear colour (1, 0.84, 0).
    const std::vector<std::uint8_t> rest = centre();
    EXPECT_GT(rest[0], 200);
    EXPECT_GT(rest[1], 150);
    EXPECT_LT(rest[2], 60);
    // Branches show as darker pixels in the band between the logos; the
    // bottom logo band ends in a dark strip along the picture's lower edge.
    int dark = 0;
    for (int x = 0; x < 1024; x += 4)
        dark += read_pixel(x, 450)[0] + 40 < rest[0];
    EXPECT_GT(dark, 3);
    for (int x : {10, 512, 1000})
        EXPECT_LT(max_channel(read_pixel(x, 67)), 110) << x;

    run_to(3100);
    EXPECT_EQ(scene->m_last_beat_ms, 3100);
    EXPECT_GT(centre()[2], 180) << "the drum note flashes the background blue";
    run_to(3600);
    EXPECT_LT(centre()[2], 60) << "the flash is over after the beat length";
    EXPECT_GT(cSceneScrub::travel_z(), 10.0f + 5.0f * 3.5f);

    glEnable(GL_FOG);
    glEnable(GL_LIGHT0);
    run_to(5100); // "s03" (a stand-in here) leaves the scrub
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
}

TEST_F(SolarFlareScrubRenderTest, SunScenesShowFlaresAndGasesBeyondTheSunsDisc) {
    for (int number : {0, 2}) {
        SCOPED_TRACE(number == 0 ? "solar flare" : "greetings with the sun");
        // The same frames twice: as the scene sets up its flare system, and
        // with the flares and gases at 0. The generator is seeded alike
        // before every update and draw, so the sun and the room are drawn
        // alike; the bare run's flares have died by the last frame.
        std::vector<int> picture[2];
        for (int bare = 0; bare < 2; ++bare) {
            SetUp();
            cSolarFlares_GL* flares = nullptr;
            cSceneCreditsSol* room = nullptr;
            if (number == 0)
                flares =
                    start_after_attractor<cSceneSolarFlare>("s00 0:0:0,001\ns01 0:0:5,000\n", 0, {})
                        ->m_flare_system.get();
            else
                room = start_after_attractor<cSceneCreditsSol>("s02 0:0:0,001\n", 2, {});
            for (int t = 100; t <= 4600; t += 100) {
                m_clock.set_ms(t);
                vt_srand(std::uint32_t(t));
                m_manager->update();
                if (room) {
                    flares = room->m_flare_system.get();
                    room->m_blend = 0.45f;
                }
                if (bare) {
                    cSolarFlares& system = flares->system();
                    system.m_numFlares = 0.0f;
                    system.m_partSize = 0.0f;
                    system.m_partAlpha = 0.0f;
                    flares->emitter()->m_life.z = 0.0f;
                }
                vt_srand(std::uint32_t(t + 1));
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                m_manager->draw_current();
            }
            if (!bare) {
                ASSERT_GT(flares->system().m_numFlares, 0.0f);
                ASSERT_GT(flares->system().m_partSize, 0.0f);
                ASSERT_GT(flares->system().m_partAlpha, 0.0f);
                ASSERT_GT(flares->emitter()->m_life.z, 0.0f);
            }
            // The brightest channel of every pixel of the picture.
            const std::vector<std::uint8_t> rgb = read_rgb();
            for (std::size_t i = 0; i < rgb.size(); i += 3)
                picture[bare].push_back(std::max({rgb[i], rgb[i + 1], rgb[i + 2]}));
            TearDown();
        }
        // Pixels lit by flares and gases: brighter than anything near them
        // in the bare frame, so neither on the sun's disc nor in its glow.
        const int w = 1024, h = 640, margin = 6;
        int lit = 0;
        for (int y = margin; y < h - margin; ++y)
            for (int x = margin; x < w - margin; ++x) {
                const std::size_t i = std::size_t(y) * w + x;
                int near = 0;
                for (int dy = -margin; dy <= margin; dy += margin)
                    for (int dx = -margin; dx <= margin; dx += margin)
                        near = std::max(near, picture[1][i + dy * w + dx]);
                lit += picture[0][i] >= near + 24;
            }
        EXPECT_GT(lit, 500);
    }
}
