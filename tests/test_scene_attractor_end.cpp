// The attractor and end scenes on a real context: frames rendered at chosen
// timeline times with the events the show delivers, pixels read back, and
// the GL state compared before and after each frame. Also the scenes' event
// reactions and the camera tweak variables.
#include "display_settings.h"
#include "event.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "gui/camera_vars.h"
#include "gui/gui_var_list.h"
#include "midi_event.h"
#include "post_glow.h"
#include "resource_path.h"
#include "scenes/scene_attractor.h"
#include "scenes/scene_end.h"
#include "shader_manager_glsl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {
// The letterboxed picture: 1024 x 640 from y = 64 in the 1024 x 768 window.
constexpr int kPicX = 0, kPicY = 64, kPicW = 1024, kPicH = 640;

// The show's search paths and shader manager, as the program sets them up.
void setup_show_paths() {
    static bool once = [] {
        cResourcePath* paths = cResourcePath::instance();
        paths->push_searchpath("../data");
        paths->push_searchpath("../data/models");
        paths->push_searchpath("../data/textures");
        paths->push_searchpath("../src/shaders");
        testing::internal::CaptureStdout();
        cShaderManager_GLSL::instance()->init();
        testing::internal::GetCapturedStdout();
        return true;
    }();
    (void)once;
}

// Everything a frame could leave behind that the next pass would inherit.
std::vector<double> gl_state() {
    std::vector<double> s;
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    s.insert(s.end(), m, m + 16);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    s.insert(s.end(), m, m + 16);
    for (GLenum e : {GL_MODELVIEW_STACK_DEPTH, GL_PROJECTION_STACK_DEPTH, GL_ATTRIB_STACK_DEPTH,
                     GL_CLIENT_ATTRIB_STACK_DEPTH, GL_DEPTH_WRITEMASK, GL_BLEND_SRC, GL_BLEND_DST,
                     GL_CURRENT_PROGRAM, GL_FRAMEBUFFER_BINDING_EXT, GL_ARRAY_BUFFER_BINDING_ARB,
                     GL_MATRIX_MODE, GL_ACTIVE_TEXTURE_ARB}) {
        GLint v = 0;
        glGetIntegerv(e, &v);
        s.push_back(v);
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    s.insert(s.end(), viewport, viewport + 4);
    for (GLenum e : {GL_BLEND, GL_DEPTH_TEST, GL_LIGHTING, GL_CULL_FACE, GL_TEXTURE_2D,
                     GL_TEXTURE_RECTANGLE_ARB, GL_POINT_SMOOTH, GL_VERTEX_ARRAY})
        s.push_back(glIsEnabled(e));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    s.insert(s.end(), colour, colour + 4);
    GLfloat point_size = 0;
    glGetFloatv(GL_POINT_SIZE, &point_size);
    s.push_back(point_size);
    return s;
}

struct sPicture {
    std::vector<std::uint8_t> rgb;
    int max() const { return rgb.empty() ? 0 : *std::max_element(rgb.begin(), rgb.end()); }
    // Mean absolute difference per channel.
    double mean_difference(const sPicture& o) const {
        double sum = 0;
        for (std::size_t i = 0; i < rgb.size() && i < o.rgb.size(); ++i)
            sum += std::abs(int(rgb[i]) - int(o.rgb[i]));
        return rgb.empty() ? 0.0 : sum / double(rgb.size());
    }
};

// A rectangle of the back buffer.
sPicture read_back(int x, int y, int w, int h) {
    sPicture p;
    p.rgb.resize(std::size_t(w) * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
    return p;
}

class SceneTest : public testing::Test {
protected:
    void SetUp() override {
        ensure_gl_context();
        setup_show_paths();
        testing::internal::CaptureStderr();
        cDisplaySettings::instance()->set_viewport();
        testing::internal::GetCapturedStderr();
        while (glGetError() != GL_NO_ERROR) {
        }
    }

    // The engine's frame: the scene updates, the picture is cleared to
    // black, then the scene draws. The state the drawing leaves must be the
    // state it found.
    sPicture frame(cScene& scene, int timeline_ms) {
        m_time.previous = m_time.current;
        m_time.current = m_time.start + timeline_ms;
        scene.update();
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const std::vector<double> before = gl_state();
        scene.draw();
        EXPECT_EQ(before, gl_state()) << scene.get_name() << " at " << timeline_ms << " ms";
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError()) << scene.get_name();
        return read_back(kPicX, kPicY, kPicW, kPicH);
    }

    void set_time(int timeline_ms) {
        m_time.previous = m_time.current = m_time.start + timeline_ms;
    }

    sTimeBlock m_time{1000, 1000, 1000};
};

// Ticks counted since the scene's first tick; the counter is shared by every
// instance and never reset by the scene.
void restart_tick_count() {
    cSceneAttractor::s_tick_count = 0;
    cSceneAttractor::s_switch_interval = 16;
}

TEST_F(SceneTest, AttractorPresetChangesSpeedUpWithTheBeatTicks) {
    restart_tick_count();
    cSceneAttractor scene(&m_time);
    std::vector<int> changes;
    for (int n = 1; n <= 64; ++n) {
        set_time(n * 500);
        cEvent tick(EV_MIDI_BEAT, n * 500 - 1);
        const int anim = scene.m_anim;
        scene.on_event(&tick);
        if (scene.m_anim != anim) {
            changes.push_back(n);
            EXPECT_EQ((anim + 1) % 5, scene.m_anim);
            EXPECT_EQ(n * 500, scene.m_anim_switch_ms);
        }
        if (n == 41) {
            EXPECT_EQ(1500.0f, scene.m_burst_ms);
        }
        if (n == 48) {
            EXPECT_EQ(1300.0f, scene.m_burst_ms);
        }
    }
    std::vector<int> expected = {16, 32, 48, 52};
    for (int n = 56; n <= 64; ++n)
        expected.push_back(n);
    EXPECT_EQ(expected, changes);
    EXPECT_EQ(600.0f, scene.m_burst_ms);
    EXPECT_FLOAT_EQ(0.1f, scene.m_pulse);

    // Any other event resets the pulse and counts nothing.
    cMETrigger note(33000, iMidiEvent::KIND_NOTE_ON, 2, 60, 100);
    cEvent snare(EV_SNARE, 33000);
    const int anim = scene.m_anim;
    scene.on_event(&note);
    EXPECT_EQ(1.0f, scene.m_pulse);
    scene.m_pulse = 0.5f;
    scene.on_event(&snare);
    EXPECT_EQ(1.0f, scene.m_pulse);
    EXPECT_EQ(anim, scene.m_anim);
    EXPECT_EQ(64, cSceneAttractor::s_tick_count);

    // A second instance continues the shared count.
    cSceneAttractor other(&m_time);
    cEvent tick(EV_MIDI_BEAT, 33000);
    other.on_event(&tick);
    EXPECT_EQ(65, cSceneAttractor::s_tick_count);
    EXPECT_EQ(2, other.m_anim);
}

TEST_F(SceneTest, AttractorBurstRelaxesOverItsLength) {
    cSceneAttractor scene(&m_time);
    float black = 0, white = 0;
    scene.m_anim_switch_ms = 5000;
    scene.m_burst_ms = 2000.0f;
    set_time(5000);
    scene.burst_levels(&black, &white);
    EXPECT_FLOAT_EQ(40.0f, black);
    EXPECT_FLOAT_EQ(100.0f, white);
    set_time(6000);
    scene.burst_levels(&black, &white);
    EXPECT_FLOAT_EQ(20.0f, black);
    EXPECT_FLOAT_EQ(177.5f, white);
    set_time(60000);
    scene.burst_levels(&black, &white);
    EXPECT_FLOAT_EQ(0.0f, black);
    EXPECT_FLOAT_EQ(255.0f, white);
}

TEST_F(SceneTest, AttractorPresetStepAppliesAChangedAnimAndDrifts) {
    cSceneAttractor scene(&m_time);
    set_time(2000);
    scene.preset_step();
    EXPECT_EQ(1, scene.m_applied_anim);
    EXPECT_FLOAT_EQ(1.0f, scene.m_p[0]);
    EXPECT_FLOAT_EQ(0.02f, scene.m_color0_alpha);
    EXPECT_FLOAT_EQ(1.65625f, scene.m_point_size1);
    EXPECT_FLOAT_EQ(155.875f, scene.m_rot);
    EXPECT_FLOAT_EQ(0.33f, scene.m_randscale);
    EXPECT_DOUBLE_EQ(double(0.33f) * 0.1, scene.m_calc_small.ring().calculator().m_noise_amplitude);
    EXPECT_DOUBLE_EQ(double(0.33f) * 0.0001,
                     scene.m_calc_large.ring().calculator().m_noise_amplitude);

    // "anim" set from the variable list takes effect at the next step; a
    // tweaked value survives steps while the preset stays.
    scene.m_anim = 3;
    scene.preset_step();
    EXPECT_FLOAT_EQ(0.284401f, scene.m_p[1]);
    EXPECT_FLOAT_EQ(213.0f, scene.m_rot);
    scene.m_rot = 5.0f;
    scene.preset_step();
    EXPECT_EQ(5.0f, scene.m_rot);

    // One second of drift on preset 0: p1 grows by 0.015, and wraps to 0.7
    // once it passes 0.9.
    scene.m_anim = 0;
    scene.preset_step();
    m_time.previous = m_time.current - 1000;
    scene.preset_step();
    EXPECT_FLOAT_EQ(0.806471f + 0.015f, scene.m_p[1]);
    scene.m_p[1] = 0.89f;
    scene.preset_step();
    EXPECT_FLOAT_EQ(0.7f, scene.m_p[1]);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(scene.m_p[i], scene.m_calc_small.params()[i]);
        EXPECT_EQ(scene.m_p[i], scene.m_calc_large.params()[i]);
    }
}

TEST_F(SceneTest, AttractorUnknownPresetStopsTheProgram) {
    cSceneAttractor scene(&m_time);
    EXPECT_DEATH(scene.apply_preset(5), "non-existing anim used");
    EXPECT_DEATH(scene.apply_preset(-1), "non-existing anim used");
}

TEST_F(SceneTest, TweakVariablesOfTheAttractorAndTheCamera) {
    cSceneAttractor scene(&m_time);
    scene.apply_preset(1);
    cGuiVarList list;
    scene.add_vars(&list);
    add_camera_vars(&scene.m_camera, &list, -10.0f, 10.0f);
    scene.m_camera.m_fov = 80.0f;
    std::ostringstream out;
    list.print(out);
    EXPECT_EQ("p0 1\np1 1.8\np2 0.71\np3 1.49017\nrandscale 0.33\ncolor0 (0.57,0.35,1)\n"
              "color0A 0.02\npts-size0 1.7002\ncolor1 (0.35,0.51,1)\ncolor1A 0.0537861\n"
              "pts-size1 1.65625\nanim 1\nrot 155.875\ncam-eye (1,1,1)\ncam-its (0,0,0)\n"
              "cam-fov 80\n",
              out.str());
}

TEST_F(SceneTest, AttractorFramesShowCloudsBurstAndGlow) {
    restart_tick_count();
    cSceneAttractor scene(&m_time);
    testing::internal::CaptureStderr();
    scene.load();
    testing::internal::GetCapturedStderr();
    scene.enter();
    EXPECT_EQ(200.0f, cPostGlow::instance()->m_settings.threshold);
    EXPECT_EQ(128.0f, cPostGlow::instance()->m_settings.gain);

    // The show's ticks up to the first preset change, a few frames between.
    int t = 0;
    for (int n = 1; n <= 16; ++n) {
        t = n * 480;
        cEvent tick(EV_MIDI_BEAT, t - 5);
        set_time(t);
        scene.on_event(&tick);
        if (n % 8 == 0)
            frame(scene, t);
    }
    ASSERT_EQ(2, scene.m_anim);
    ASSERT_EQ(t, scene.m_anim_switch_ms);

    frame(scene, t + 1);
    const int later = t + 5000;
    const sPicture relaxed = frame(scene, later);
    EXPECT_GT(relaxed.max(), 60) << "the picture is black";

    // The same moment without the clouds; with them off the rings' progress
    // does not show, so the next frames differ only by the post passes.
    scene.m_color0_alpha = scene.m_color1_alpha = 0.0f;
    const sPicture no_clouds = frame(scene, later);
    EXPECT_GT(relaxed.mean_difference(no_clouds), 0.5) << "the point clouds add nothing";

    scene.m_anim_switch_ms = later;
    const sPicture burst = frame(scene, later);
    EXPECT_GT(burst.mean_difference(no_clouds), 5.0) << "the burst's levels change nothing";

    // A bright pass that nothing passes. Without the clouds only the
    // brightest parts of the background glow, so the change is small.
    sGlowSettings& glow = cPostGlow::instance()->m_settings;
    glow.threshold = 255.0f;
    const sPicture no_glow = frame(scene, later);
    glow.threshold = 200.0f;
    EXPECT_GT(burst.mean_difference(no_glow), 0.03) << "the glow adds nothing";
}

TEST_F(SceneTest, EndSceneShowsTheLogoOverThePicture) {
    cSceneEnd scene(&m_time);
    testing::internal::CaptureStderr();
    scene.load();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(GLenum(GL_TEXTURE_RECTANGLE_ARB), scene.m_logo.get_textarget());
    scene.enter();
    cEvent beat(EV_MIDI_BEAT, 10);
    scene.on_event(&beat);
    scene.update();
    const sPicture picture = frame(scene, 1000);
    EXPECT_GT(picture.max(), 60) << "the logo is missing";
    // The logo covers the picture band and nothing outside it.
    EXPECT_EQ(std::vector<std::uint8_t>({0, 0, 0}), read_pixel(512, kPicY - 10));
    EXPECT_EQ(std::vector<std::uint8_t>({0, 0, 0}), read_pixel(512, kPicY + kPicH + 10));
    cGuiVarList list;
    scene.add_vars(&list);
    EXPECT_EQ(0u, list.entry_count());
}
} // namespace
