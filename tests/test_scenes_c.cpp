// The sprutte and greetings scenes driven through the scene manager: notes
// as the show delivers them, frames drawn at chosen timeline times and the
// pictures read back.
#include "gl_entry.h"
#include "gl_test_support.h"
#include "gui/gui_var_list.h"
#include "midi_event.h"
#include "render_target_manager.h"
#include "resource_path.h"
#include "scene_manager.h"
#include "scenes/scene_credits.h"
#include "scenes/scene_credits_sol.h"
#include "scenes/scene_sprutte.h"
#include "shader_manager_glsl.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {
using tRGB = std::array<double, 3>;

// What a frame must leave as it found it.
struct sFrameState {
    GLint modelview = 0, projection = 0, texture = 0, attrib = 0, framebuffer = 0;
    GLint viewport[4] = {};
    std::size_t shader_stack = 0;
    unsigned targets_lent = 0;

    static sFrameState capture() {
        sFrameState s;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelview);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projection);
        glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &s.texture);
        glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &s.attrib);
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &s.framebuffer);
        glGetIntegerv(GL_VIEWPORT, s.viewport);
        s.shader_stack = cShaderManager_GLSL::instance()->shader_stack().size();
        s.targets_lent = cRenderTargetManager::instance()->in_use();
        return s;
    }
    void expect_same(const sFrameState& o) const {
        EXPECT_EQ(modelview, o.modelview);
        EXPECT_EQ(projection, o.projection);
        EXPECT_EQ(texture, o.texture);
        EXPECT_EQ(attrib, o.attrib);
        EXPECT_EQ(framebuffer, o.framebuffer);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(viewport[i], o.viewport[i]);
        EXPECT_EQ(shader_stack, o.shader_stack);
        EXPECT_EQ(targets_lent, o.targets_lent);
    }
};

// Mean colour (0..255) of the window's picture area.
tRGB mean_colour() {
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    std::vector<std::uint8_t> rgb(std::size_t(vp[2]) * vp[3] * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(vp[0], vp[1], vp[2], vp[3], GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    tRGB sum = {0, 0, 0};
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        for (int c = 0; c < 3; ++c)
            sum[c] += rgb[i + c];
    const double n = double(rgb.size() / 3);
    return {sum[0] / n, sum[1] / n, sum[2] / n};
}

double brightness(const tRGB& c) {
    return (c[0] + c[1] + c[2]) / 3.0;
}

cEvent* note(int ms, int track) {
    return new cMETrigger(ms, iMidiEvent::KIND_NOTE_ON, track, 36, 100);
}

class ScenesCTest : public testing::Test {
protected:
    void SetUp() override {
        ensure_gl_context();
        static bool once = [] {
            testing::internal::CaptureStdout();
            cResourcePath* paths = cResourcePath::instance();
            for (const char* dir :
                 {"../data", "../data/models", "../data/textures", "../src/shaders"})
                paths->push_searchpath(dir);
            // The greetings rooms fetch the sun's gas image, which the show
            // finds through the folder that its first scene pushed.
            paths->push_searchpath("../data/models/sunflare");
            cShaderManager_GLSL::instance()->init();
            testing::internal::GetCapturedStdout();
            return true;
        }();
        (void)once;
        m_manager = cSceneManager::instance();
        m_manager->set_clock(&m_clock);
        m_manager->m_music_enabled = false;
    }
    void TearDown() override { cSceneManager::destroy(); }

    // The scene as scene 0, switched to at 1 ms, with the given notes in the
    // timeline; loaded when asked.
    template <typename T>
    T* start(const std::vector<cEvent*>& notes, bool load) {
        const std::string script = write_temp_file("scenes_c_markers.txt", "s00 0:0:0,001\n");
        testing::internal::CaptureStdout();
        m_manager->load(script);
        testing::internal::GetCapturedStdout();
        T* scene = new T(&m_manager->m_time);
        m_manager->add_scene(scene);
        if (load)
            m_manager->load_scenes(nullptr);
        for (cEvent* event : notes)
            m_manager->m_eventqueue->add(event);
        m_manager->m_eventqueue->sort();
        m_manager->restart_clock();
        return scene;
    }
    // One frame of the show at timeline time ms.
    void frame(int ms, bool draw = true) {
        m_clock.set_ms(ms);
        m_manager->update();
        if (!draw)
            return;
        while (glGetError() != GL_NO_ERROR) {
        }
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const sFrameState before = sFrameState::capture();
        m_manager->draw_current();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "frame at " << ms << " ms";
        sFrameState::capture().expect_same(before);
    }
    std::vector<std::string> var_names(cScene* scene) {
        cGuiVarList list;
        scene->add_vars(&list);
        std::vector<std::string> names;
        for (std::size_t i = 0; i < list.entry_count(); ++i)
            names.push_back(list.entry(i).first->get_name());
        return names;
    }

    cClock_manual m_clock;
    cSceneManager* m_manager = nullptr;
};

const std::vector<std::string> kLevelsVars = {"in black", "in white", "gamma", "out black",
                                              "out white"};
} // namespace

// ---- sprutte ----

TEST_F(ScenesCTest, SprutteDrumNotesSwitchPathsFromNote38On) {
    // Enough notes to pass note 38 whatever earlier tests counted.
    const int first = cSceneSprutte::note_count();
    const int count = std::max(0, 37 - first) + 12;
    std::vector<cEvent*> notes;
    for (int k = 0; k < count; ++k)
        notes.push_back(note(100 + 10 * k, 1));
    notes.push_back(note(50, 2)); // other tracks only pass by
    cSceneSprutte* scene = start<cSceneSprutte>(notes, false);
    scene->m_intro_scale = true; // as its load leaves it

    frame(10, false);
    EXPECT_EQ(scene->m_propagation, 2000.0f);
    EXPECT_FLOAT_EQ(scene->m_levels.gamma, 1.3f);
    int path = scene->m_path_index;
    for (int k = 0; k < count; ++k) {
        const int t = 100 + 10 * k;
        frame(t + 1, false);
        const int n = cSceneSprutte::note_count();
        ASSERT_EQ(n, first + k + 1);
        if (n < cSceneSprutte::kFirstActiveNote) {
            EXPECT_EQ(scene->m_path_index, 0);
            EXPECT_TRUE(scene->m_intro_scale);
            continue;
        }
        EXPECT_FALSE(scene->m_intro_scale);
        EXPECT_EQ(scene->m_propagation, 800.0f);
        // Notes are stamped with the frame's time, not their own.
        EXPECT_EQ(n % 2 ? scene->m_beat_a_ms : scene->m_beat_b_ms, t + 1);
        if (n % 4 != 0) {
            path = (path + 1) % cSceneSprutte::kPaths;
            EXPECT_EQ(scene->m_path_start_ms, t + 1);
        }
        EXPECT_EQ(scene->m_path_index, path) << "note " << n;
    }
}

TEST_F(ScenesCTest, SprutteVariables) {
    cSceneSprutte* scene = start<cSceneSprutte>({}, false);
    std::vector<std::string> expected = {"angle", "propagation", "cam-eye", "cam-its", "cam-fov",
                                         "col1",  "col2",        "beatdec", "pre-cut", "post-cut"};
    expected.insert(expected.end(), kLevelsVars.begin(), kLevelsVars.end());
    EXPECT_EQ(var_names(scene), expected);
}

TEST_F(ScenesCTest, SprutteFadesInFromBlackOverFifteenSeconds) {
    const bool first_in_process = !cSceneSprutte::has_drawn();
    start<cSceneSprutte>({}, true);
    frame(2);
    const tRGB opening = mean_colour();
    if (first_in_process) {
        EXPECT_LT(brightness(opening), 1.0);
    }
    const int s0_ms = int(cSceneSprutte::first_draw_seconds() * 1000.0f + 0.5f);

    frame(s0_ms + 6000);
    const double half_way = brightness(mean_colour());
    frame(s0_ms + 16000);
    const tRGB full = mean_colour();
    EXPECT_GT(brightness(full), 10.0);
    EXPECT_LT(half_way, brightness(full));
    // The cold blue lookup tints the picture.
    EXPECT_GT(full[2], full[0]);
    frame(s0_ms + 16040);
}

// ---- greetings ----

TEST_F(ScenesCTest, CreditsNotesDriveFlashesPathsAndTheLight) {
    const int flashes = cSceneCredits::flash_note_count();
    const int paths = cSceneCredits::path_note_count();
    std::vector<cEvent*> notes;
    for (int k = 0; k < 6; ++k)
        notes.push_back(note(100 + 100 * k, 10));
    for (int k = 0; k < 6; ++k)
        notes.push_back(note(1000 + 100 * k, 1));
    notes.push_back(note(2000, 4));
    cSceneCredits* scene = start<cSceneCredits>(notes, false);

    frame(10, false);
    int flash_ms = scene->m_flash_ms;
    for (int k = 0; k < 6; ++k) {
        frame(101 + 100 * k, false);
        if ((flashes + k + 1) % 3 == 0)
            flash_ms = 101 + 100 * k;
        EXPECT_EQ(scene->m_flash_ms, flash_ms) << "track-10 note " << flashes + k + 1;
    }
    EXPECT_EQ(cSceneCredits::flash_note_count(), flashes + 6);

    int path = scene->m_path_index;
    for (int k = 0; k < 6; ++k) {
        frame(1001 + 100 * k, false);
        if ((paths + k + 1) % 2 == 0) {
            path = (path + 1) % cSceneCredits::kPaths;
            EXPECT_EQ(scene->m_path_start_ms, 1001 + 100 * k);
        }
        EXPECT_EQ(scene->m_path_index, path);
    }

    // The light note: full on, then back to off linearly within 400 ms.
    frame(1900, false);
    EXPECT_EQ(scene->m_blend, 0.0f);
    frame(2001, false);
    EXPECT_EQ(scene->m_light_note_ms, 2001);
    EXPECT_EQ(scene->m_blend, 1.0f);
    frame(2201, false);
    EXPECT_NEAR(scene->m_blend, 0.5f, 1e-6f);
    frame(2401, false);
    EXPECT_EQ(scene->m_blend, 0.0f);
}

TEST_F(ScenesCTest, CreditsVariables) {
    cSceneCredits* scene = start<cSceneCredits>({}, false);
    std::vector<std::string> expected = kLevelsVars;
    for (const char* name : {"hue", "saturation", "brightness", "pre-cut", "post-cut", "cam-eye",
                             "cam-its", "cam-fov", "decay", "blend"})
        expected.push_back(name);
    EXPECT_EQ(var_names(scene), expected);
}

TEST_F(ScenesCTest, CreditsOpensFromWhiteAndFlashesGrey) {
    // Three track-10 notes make sure one of them flashes.
    std::vector<cEvent*> notes = {note(3000, 10), note(3001, 10), note(3002, 10), note(5000, 4)};
    cSceneCredits* scene = start<cSceneCredits>(notes, true);

    frame(2);
    const tRGB opening = mean_colour();
    frame(2600);
    const tRGB settled = mean_colour();
    EXPECT_GT(brightness(opening), brightness(settled));
    EXPECT_GT(brightness(settled), 5.0);
    EXPECT_EQ(scene->m_levels.out_black, 0.0f);

    // Right after the flash the colour is gone: saturation -100.
    frame(3010);
    EXPECT_FLOAT_EQ(scene->m_hsb.y, -100.0f);
    const tRGB flash = mean_colour();
    EXPECT_NEAR(flash[0], flash[2], 2.0);
    EXPECT_NEAR(flash[1], flash[2], 2.0);
    frame(4500);
    EXPECT_FLOAT_EQ(scene->m_hsb.y, 70.0f);

    // The light note lights the sphere and the room.
    frame(4990);
    const double dark = brightness(mean_colour());
    frame(5010);
    frame(5020);
    EXPECT_GT(brightness(mean_colour()), dark);
}

TEST_F(ScenesCTest, CreditsSolPathsRunBackwardsFromThe24thNote) {
    const int first = cSceneCreditsSol::path_note_count();
    const int count = std::max(0, 23 - first) + 8;
    std::vector<cEvent*> notes;
    for (int k = 0; k < count; ++k)
        notes.push_back(note(100 + 50 * k, 1));
    cSceneCreditsSol* scene = start<cSceneCreditsSol>(notes, true);

    frame(10);
    EXPECT_EQ(scene->m_path_index, 1);
    EXPECT_GE(scene->m_blend, 0.3f);
    EXPECT_LE(scene->m_blend, 0.6f);
    EXPECT_GT(brightness(mean_colour()), 5.0);

    int path = scene->m_path_index;
    bool reverse = false;
    for (int k = 0; k < count; ++k) {
        const int t = 100 + 50 * k;
        frame(t + 1, false);
        const int n = cSceneCreditsSol::path_note_count();
        if (n % 4 == 0) {
            path = (path + 1) % cSceneCreditsSol::kPaths;
            reverse = reverse || n > 20;
            EXPECT_EQ(scene->m_path_start_ms, t + 1);
        }
        EXPECT_EQ(scene->m_path_index, path);
        EXPECT_EQ(scene->m_reverse, reverse) << "note " << n;
    }
    EXPECT_TRUE(reverse);
    frame(100 + 50 * count + 20);
    EXPECT_GT(brightness(mean_colour()), 5.0);
}

TEST_F(ScenesCTest, CreditsSolVariables) {
    cSceneCreditsSol* scene = start<cSceneCreditsSol>({}, true);
    std::vector<std::string> names = var_names(scene);
    std::vector<std::string> expected = kLevelsVars;
    for (const char* name :
         {"hue", "saturation", "brightness", "pre-cut", "post-cut", "cam-eye", "cam-its", "cam-fov",
          "decay", "blend", "path", "decay time", "num flares", "points pr sec",
          "p-life(min,nl,rnd)", "p-col", "p-alpha", "p-size"})
        expected.push_back(name);
    EXPECT_EQ(names, expected);
}
