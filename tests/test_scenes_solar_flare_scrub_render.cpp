// The solar flare and scrub scenes rendered on a real context, driven through
// the scene manager with a manual clock, marker scripts and MIDI notes as the
// show delivers them; pixels are read back from the window.
#include "effects/solar_flares_gl.h"
#include "math/random.h"
#include "scene_fixture.h"
#include "scenes/scene_scrub.h"
#include "scenes/scene_solar_flare.h"

namespace {
// A pixel of the window whose channels at a timeline time lie in lo..hi.
struct sPixelLook {
    int ms, step, x, y;
    std::array<int, 3> lo, hi;
};

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
    // Drawn frames of step ms up to each look's time, then its pixel.
    void expect_looks(const std::vector<sPixelLook>& looks) {
        for (const sPixelLook& look : looks) {
            run_to(look.ms, look.step);
            const std::vector<std::uint8_t> p = read_pixel(look.x, look.y);
            for (int c = 0; c < 3; ++c) {
                EXPECT_GE(p[c], look.lo[c]) << look.ms << " ms at " << look.x << "," << look.y;
                EXPECT_LE(p[c], look.hi[c]) << look.ms << " ms at " << look.x << "," << look.y;
            }
        }
    }
};
} // namespace

TEST_F(SolarFlareScrubRenderTest, SolarFlareGrowsThenFadesToBlackOnTrackSixAndWhiteOnTrackSeven) {
    // The sun is full size 10 s after the first frame. A track-6 note at
    // 11 s, a note-off and a track-5 note that change nothing, a track-7
    // note at 12 s.
    start_after_attractor<cSceneSolarFlare>("s00 0:0:0,001\ns01 0:0:13,001\n", 0,
                                            {midi_note(11000, 6),
                                             midi_note(10500, 6, iMidiEvent::KIND_NOTE_OFF),
                                             midi_note(10600, 5), midi_note(12000, 7)});
    expect_looks({
        {2, 100, 512, 384, {0, 0, 0}, {39, 39, 39}},              // not grown yet
        {10900, 400, 512, 384, {120, 80, 0}, {255, 255, 255}},    // the grown sun
        {11850, 50, 512, 384, {0, 0, 0}, {255, 59, 255}},         // fading to black
        {12400, 100, 100, 100, {250, 235, 195}, {255, 255, 255}}, // white through the
        {12400, 100, 512, 384, {250, 235, 195}, {255, 255, 255}}, // orange lookup
        {12400, 100, 900, 650, {250, 235, 195}, {255, 255, 255}},
    });
}

TEST_F(SolarFlareScrubRenderTest, ScrubFlashesBlueOnTrackOneDrumsAndLeaveSwitchesFogAndLightOff) {
    start_after_attractor<cSceneScrub>(
        "s04 0:0:0,001\ns03 0:0:5,000\ns05 0:0:40,001\n", 4,
        {midi_note(3000, 1), midi_note(2500, 2), midi_note(2600, 1, iMidiEvent::KIND_NOTE_OFF)});
    // Down the tunnel axis into fog of the clear colour (1, 0.84, 0); the
    // drum note flashes the background blue for the beat length.
    expect_looks({
        {2900, 200, 512, 384, {201, 151, 0}, {255, 255, 59}},
        {3100, 100, 512, 384, {0, 0, 181}, {255, 255, 255}},
        {3600, 100, 512, 384, {0, 0, 0}, {255, 255, 59}},
    });
    glEnable(GL_FOG);
    glEnable(GL_LIGHT0);
    run_to(5100); // "s03" (a stand-in here) leaves the scrub
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
}

TEST_F(SolarFlareScrubRenderTest, SolarFlareShowsFlaresAndGasesBeyondTheSunsDisc) {
    // The same frames twice: as the scene sets up its flare system, and
    // with the flares and gases at 0. The generator is seeded alike
    // before every update and draw, so the sun is drawn alike; the bare
    // run's flares have died by the last frame. (The greetings scene
    // shares the set-up of the sun's flares and gases.)
    std::vector<int> picture[2];
    for (int bare = 0; bare < 2; ++bare) {
        SetUp();
        cSolarFlares_GL* flares =
            start_after_attractor<cSceneSolarFlare>("s00 0:0:0,001\ns01 0:0:5,000\n", 0, {})
                ->m_flare_system.get();
        for (int t = 100; t <= 4600; t += 100) {
            m_clock.set_ms(t);
            vt_srand(std::uint32_t(t));
            m_manager->update();
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
        ASSERT_TRUE(bare || flares->system().m_numFlares > 0.0f);
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
