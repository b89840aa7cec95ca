// Shared set-up for the tests that drive the show's scenes on a real GL
// context: the program's search paths and shader programs, the scene manager
// on a manual clock, and frames whose GL state and pixels are checked.
#pragma once

#include "clock.h"
#include "display_settings.h"
#include "gl_entry.h"
#include "gl_test_support.h"
#include "midi_event.h"
#include "render_target_manager.h"
#include "resource_path.h"
#include "scene_dummy.h"
#include "scene_manager.h"
#include "shader_manager_glsl.h"
#include "show_scenes.h"
#include "test_support.h"
#include "texture_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

// The letterboxed picture: 1024 x 640 from y = 64 in the 1024 x 768 window.
constexpr int kPicY = 64, kPicW = 1024, kPicH = 640;

// What a frame could leave behind that the next pass would inherit: stack
// depths, bindings, the viewport, the shader stack and the render targets
// lent; with `enables` also the fixed-function switches, with `matrices` both
// matrices and depth writes, with `colour` the current colour, point size and
// blend function.
inline std::vector<double> gl_frame_state(bool enables, bool matrices, bool colour) {
    std::vector<double> s;
    GLfloat f[16];
    for (GLenum e : {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX}) {
        glGetFloatv(e, f);
        if (matrices)
            s.insert(s.end(), f, f + 16);
    }
    for (GLenum e :
         {GL_MODELVIEW_STACK_DEPTH, GL_PROJECTION_STACK_DEPTH, GL_TEXTURE_STACK_DEPTH,
          GL_ATTRIB_STACK_DEPTH, GL_CLIENT_ATTRIB_STACK_DEPTH, GL_BLEND_SRC, GL_BLEND_DST,
          GL_CURRENT_PROGRAM, GL_FRAMEBUFFER_BINDING_EXT, GL_ARRAY_BUFFER_BINDING_ARB,
          GL_MATRIX_MODE, GL_ACTIVE_TEXTURE_ARB, GL_DEPTH_WRITEMASK, GL_VIEWPORT}) {
        GLint v[4] = {};
        glGetIntegerv(e, v);
        if ((e != GL_DEPTH_WRITEMASK || matrices) && (e != GL_BLEND_SRC || colour) &&
            (e != GL_BLEND_DST || colour))
            s.insert(s.end(), v, v + (e == GL_VIEWPORT ? 4 : 1));
    }
    for (GLenum e : {GL_BLEND, GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_FOG, GL_CULL_FACE,
                     GL_TEXTURE_2D, GL_TEXTURE_RECTANGLE_ARB, GL_POINT_SMOOTH, GL_VERTEX_ARRAY})
        if (enables)
            s.push_back(glIsEnabled(e));
    glGetFloatv(GL_CURRENT_COLOR, f);
    glGetFloatv(GL_POINT_SIZE, f + 4);
    if (colour)
        s.insert(s.end(), f, f + 5);
    s.push_back(double(cShaderManager_GLSL::instance()->shader_stack().size()));
    s.push_back(cRenderTargetManager::instance()->in_use());
    return s;
}

// RGB bytes of a rectangle of the back buffer, by default the picture.
inline std::vector<std::uint8_t> read_rgb(int x = 0, int y = kPicY, int w = kPicW, int h = kPicH) {
    std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

// Mean of each channel (0..255) of RGB bytes.
inline std::array<double, 3> mean_rgb(const std::vector<std::uint8_t>& rgb) {
    std::array<double, 3> sum = {0, 0, 0};
    for (std::size_t i = 0; i < rgb.size(); ++i)
        sum[i % 3] += rgb[i];
    const double n = double(rgb.size() / 3);
    return {sum[0] / n, sum[1] / n, sum[2] / n};
}

inline double brightness(const std::array<double, 3>& c) {
    return (c[0] + c[1] + c[2]) / 3.0;
}

// Mean absolute difference per byte of two pictures.
inline double mean_difference(const std::vector<std::uint8_t>& a,
                              const std::vector<std::uint8_t>& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return a.empty() ? 0.0 : sum / double(a.size());
}

inline cEvent* midi_note(int ms, int track, int kind = iMidiEvent::KIND_NOTE_ON) {
    return new cMETrigger(ms, kind, track, 60, 100);
}

class SceneFixture : public testing::Test {
protected:
    // Other suites of this program push folders of stand-in meshes and
    // images ("sun.bzobj", "sun_diffuse.jpg") that would be found before the
    // show's own: the scenes start from the program's search list (with the
    // sun's folder that the show's first scene pushes) and an empty cache.
    static void SetUpTestSuite() {
        ensure_gl_context();
        cTextureManager::destroy();
        cResourcePath::destroy();
        for (const char* dir : {"../data", "../data/models", "../data/textures", "../src/shaders",
                                "../data/models/sunflare"})
            cResourcePath::instance()->push_searchpath(dir);
        testing::internal::CaptureStdout();
        cShaderManager_GLSL::instance()->init();
        testing::internal::GetCapturedStdout();
    }
    void SetUp() override {
        reset_show_scene_state();
        m_manager = cSceneManager::instance();
        m_manager->m_music_enabled = false;
        m_manager->set_clock(&m_clock);
        testing::internal::CaptureStderr();
        cDisplaySettings::instance()->set_viewport();
        testing::internal::GetCapturedStderr();
    }
    void TearDown() override {
        cSceneManager::destroy();
        reset_show_scene_state();
    }

    // A show of the marker script and MIDI notes whose scene `number` is a
    // new T (stand-ins before it), loaded when asked; the clock starts at 0.
    template <typename T>
    T* start(const std::string& markers, const std::vector<cEvent*>& notes = {}, int number = 0,
             bool load = true) {
        testing::internal::CaptureStdout();
        m_manager->load(write_temp_file("scene_markers.txt", markers));
        testing::internal::GetCapturedStdout();
        for (int i = 0; i < number; ++i)
            m_manager->add_scene(new cSceneDummy(&m_manager->m_time));
        T* scene = new T(&m_manager->m_time);
        m_manager->add_scene(scene);
        if (load)
            m_manager->load_scenes(nullptr);
        for (cEvent* event : notes)
            m_manager->m_eventqueue->add(event);
        m_manager->m_eventqueue->sort();
        m_clock.set_ms(0);
        m_manager->restart_clock();
        m_last = 0;
        return scene;
    }

    // The engine's picture: cleared to black, then the scene draws; it must
    // hand back the GL state it found (see gl_frame_state) and raise no GL
    // error.
    void draw(cScene& scene, int ms) {
        while (glGetError() != GL_NO_ERROR) {
        }
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const std::vector<double> before =
            gl_frame_state(m_keeps_enables, m_keeps_matrices, m_keeps_colour);
        scene.draw();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << scene.get_name() << " at " << ms << " ms";
        EXPECT_EQ(gl_frame_state(m_keeps_enables, m_keeps_matrices, m_keeps_colour), before)
            << scene.get_name() << " at " << ms << " ms";
    }

    // One engine frame at timeline time ms: events and update, then, when
    // drawn, the current scene's picture.
    void frame(int ms, bool drawn = true) {
        m_clock.set_ms(ms);
        m_last = ms;
        m_manager->update();
        if (drawn && m_manager->m_current)
            draw(*m_manager->m_current, ms);
    }
    // Drawn frames every step ms after the last one, up to ms.
    void run_to(int ms, int step = 100) {
        for (int t = m_last; t < ms;)
            frame(t = std::min(t + step, ms));
    }

    cClock_manual m_clock;
    cSceneManager* m_manager = nullptr;
    int m_last = 0;
    // Whether the scenes of the test hand back the switches, the matrices
    // and depth writes, and the current colour, point size and blend
    // function, as well.
    bool m_keeps_enables = true, m_keeps_matrices = false, m_keeps_colour = false;
};
