// The solar flare and scrub scenes rendered on a real context, driven through
// the scene manager with a manual clock, marker scripts and MIDI notes as the
// show delivers them; pixels are read back from the window.
#include "clock.h"
#include "effects/solar_flares_gl.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "gui/gui_var_list.h"
#include "math/random.h"
#include "midi_event.h"
#include "resource_path.h"
#include "scene_dummy.h"
#include "scene_manager.h"
#include "scenes/scene_credits_sol.h"
#include "scenes/scene_scrub.h"
#include "scenes/scene_solar_flare.h"
#include "shader_manager_glsl.h"
#include "test_support.h"
#include "texture_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {
int max_channel(const std::vector<std::uint8_t>& p) {
    return std::max({p[0], p[1], p[2]});
}

// Mean of every channel over a box of the window; by default the box in the
// middle of the picture that the grown sun covers.
double mean_level(int x = 432, int y = 304, int w = 160, int h = 160) {
    std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    double sum = 0.0;
    for (std::uint8_t v : rgb)
        sum += v;
    return sum / double(rgb.size());
}

// Everything a frame must hand back as it found it, as one list of numbers:
// both matrices, the stack depths, bindings, viewport, depth writes, enables.
std::vector<double> gl_state() {
    std::vector<double> v;
    GLfloat m[16];
    for (GLenum e : {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX}) {
        glGetFloatv(e, m);
        v.insert(v.end(), m, m + 16);
    }
    GLint i[4];
    for (GLenum e : {GL_MODELVIEW_STACK_DEPTH, GL_PROJECTION_STACK_DEPTH, GL_TEXTURE_STACK_DEPTH,
                     GL_ATTRIB_STACK_DEPTH, GL_MATRIX_MODE, GL_FRAMEBUFFER_BINDING_EXT,
                     GL_ACTIVE_TEXTURE_ARB, GL_DEPTH_WRITEMASK}) {
        glGetIntegerv(e, i);
        v.push_back(i[0]);
    }
    glGetIntegerv(GL_VIEWPORT, i);
    v.insert(v.end(), i, i + 4);
    for (GLenum e : {GL_LIGHTING, GL_LIGHT0, GL_FOG, GL_BLEND, GL_DEPTH_TEST, GL_CULL_FACE,
                     GL_TEXTURE_2D, GL_TEXTURE_RECTANGLE_ARB})
        v.push_back(glIsEnabled(e));
    return v;
}

std::vector<std::string> var_names(cScene* scene) {
    cGuiVarList list;
    scene->add_vars(&list);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.entry_count(); ++i)
        names.push_back(list.entry(i).first->get_name());
    return names;
}

cEvent* note(int ms, int track, int kind = iMidiEvent::KIND_NOTE_ON) {
    return new cMETrigger(ms, kind, track, 60, 100);
}

// The brightest channel of every pixel of the letterboxed picture.
std::vector<int> picture_levels() {
    const int w = 1024, h = 640;
    std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 64, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::vector<int> level(std::size_t(w) * h);
    for (std::size_t i = 0; i < level.size(); ++i)
        level[i] = std::max({rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]});
    return level;
}

class ScenesRenderTest : public testing::Test {
protected:
    // Other suites of this program push folders of stand-in meshes and
    // images ("sun.bzobj", "sun_diffuse.jpg") that would be found before the
    // show's own; the scenes here start from the program's search list and an
    // empty texture cache.
    static void SetUpTestSuite() {
        ensure_gl_context();
        cTextureManager::destroy();
        cResourcePath::destroy();
        for (const char* dir : {"../data", "../data/models", "../data/textures", "../src/shaders"})
            cResourcePath::instance()->push_searchpath(dir);
        testing::internal::CaptureStdout();
        cShaderManager_GLSL::instance()->init();
        testing::internal::GetCapturedStdout();
    }
    void SetUp() override {
        cSceneSolarFlare::reset_first_draw();
        cSceneScrub::reset_travel();
        m_manager = cSceneManager::instance();
        m_manager->m_music_enabled = false;
        m_manager->set_clock(&m_clock);
    }
    void TearDown() override { cSceneManager::destroy(); }

    // Loads the marker script and the MIDI notes, adds the scene at its show
    // number (stand-ins before it) and loads it.
    void start(const std::string& markers, cScene* scene, int number,
               const std::vector<cEvent*>& midi) {
        testing::internal::CaptureStdout();
        m_manager->load(write_temp_file("scenes_b_markers.txt", markers));
        testing::internal::GetCapturedStdout();
        for (cEvent* e : midi)
            m_manager->m_eventqueue->add(e);
        m_manager->m_eventqueue->sort();
        for (int i = 0; i < number; ++i)
            m_manager->add_scene(new cSceneDummy(&m_manager->m_time));
        m_manager->add_scene(scene);
        m_manager->load_scenes(nullptr);
        m_manager->restart_clock();
        // The attractor scene, before these in the show, keeps depth writes
        // off between its frames and leaves its cloud colour current.
        glDepthMask(GL_FALSE);
        glColor4f(0.35f, 0.51f, 1.0f, 0.05f);
    }

    // Engine frames every step ms up to ms: events, update, clear, draw. Each
    // frame hands the GL state back unchanged and raises no GL error.
    void run_to(int ms, int step = 100) {
        int t = m_last;
        do {
            t = std::min(t + step, ms);
            m_clock.set_ms(t);
            m_manager->update();
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            while (glGetError() != GL_NO_ERROR) {
            }
            const std::vector<double> before = gl_state();
            m_manager->draw_current();
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "at " << t << " ms";
            EXPECT_EQ(gl_state(), before) << "at " << t << " ms";
        } while (t < ms);
        m_last = ms;
    }

    static std::vector<std::uint8_t> centre() { return read_pixel(512, 384); }

    cClock_manual m_clock;
    cSceneManager* m_manager = nullptr;
    int m_last = 0;
};
} // namespace

TEST_F(ScenesRenderTest, SolarFlareGrowsThenFadesToBlackOnTrackSixAndWhiteOnTrackSeven) {
    auto* scene = new cSceneSolarFlare(&m_manager->m_time);
    // The sun is full size 10 s after the first frame. A track-6 note at
    // 11 s, a note-off and a track-5 note that change nothing, a track-7
    // note at 12 s.
    start("s00 0:0:0,001\ns01 0:0:13,001\n", scene, 0,
          {note(11000, 6), note(10500, 6, iMidiEvent::KIND_NOTE_OFF), note(10600, 5),
           note(12000, 7)});
    run_to(2);
    EXPECT_LT(max_channel(centre()), 40) << "the sun has not grown yet";
    EXPECT_LT(mean_level(), 20.0);
    EXPECT_EQ(var_names(scene),
              (std::vector<std::string>{"in black", "in white", "gamma", "out black", "out white",
                                        "decay time", "num flares", "points pr sec",
                                        "p-life(min,nl,rnd)", "p-col", "p-alpha", "p-size"}));

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

TEST_F(ScenesRenderTest, ScrubFlashesBlueOnTrackOneDrumsAndLeaveSwitchesFogAndLightOff) {
    auto* scene = new cSceneScrub(&m_manager->m_time);
    start("s04 0:0:0,001\ns03 0:0:5,000\ns05 0:0:40,001\n", scene, 4,
          {note(3000, 1), note(2500, 2), note(2600, 1, iMidiEvent::KIND_NOTE_OFF)});
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
    EXPECT_EQ(var_names(scene),
              (std::vector<std::string>{"clearcolor-r", "diff-col", "speed", "rotspeed", "density",
                                        "radius(min,max,dist)", "radialDepth", "minNborNodeDist",
                                        "numNbors", "cylinderRadius", "useSpline", "fog density",
                                        "beat length", "splitfac", "splitsub", "rdist", "rdist2"}));

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

TEST_F(ScenesRenderTest, SunScenesShowFlaresAndGasesBeyondTheSunsDisc) {
    // The greetings room's texture list names the sun's gas image.
    cResourcePath::instance()->push_searchpath("../data/models/sunflare");
    for (int number : {0, 2}) {
        SCOPED_TRACE(number == 0 ? "solar flare" : "greetings with the sun");
        // The same frames twice: as the scene sets up its flare system, and
        // with the flares and gases at 0. The generator is seeded alike
        // before every update and draw, so the sun and the room are drawn
        // alike; the bare run's flares have died by the last frame.
        std::vector<int> picture[2];
        for (int bare = 0; bare < 2; ++bare) {
            SetUp();
            m_clock.set_ms(0);
            cSolarFlares_GL* flares = nullptr;
            cSceneCreditsSol* room = nullptr;
            if (number == 0) {
                auto* scene = new cSceneSolarFlare(&m_manager->m_time);
                start("s00 0:0:0,001\ns01 0:0:5,000\n", scene, 0, {});
                flares = scene->m_flare_system.get();
            } else {
                room = new cSceneCreditsSol(&m_manager->m_time);
                start("s02 0:0:0,001\n", room, 2, {});
            }
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
            picture[bare] = picture_levels();
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
