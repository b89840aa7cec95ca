#include "skarbol.h"

#include "capture/capture.h"
#include "display_settings.h"
#include "engine_hooks.h"
#include "gl_entry.h"
#include "gl_setup.h"
#include "input.h"
#include "load_screen_sk.h"
#include "midi_loader.h"
#include "profile_scope.h"
#include "render_fsq.h"
#include "resource_path.h"
#include "scene_manager.h"
#include "shader_manager_glsl.h"
#include "show_scenes.h"
#include "timecode.h"
#include "tweaks.h"

#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <vector>

bool g_engine_exists = false;

namespace {
// Clears the colour of the window outside the viewport: the bars of a
// letterboxed picture.
void clear_outside_viewport() {
    const cDisplaySettings* settings = cDisplaySettings::instance();
    const int width = settings->m_screen_width, height = settings->m_screen_height;
    int rect[4];
    settings->viewport_rect(rect);
    const int x = rect[0], y = rect[1], right = rect[0] + rect[2], top = rect[1] + rect[3];
    const int bars[4][4] = {{0, 0, width, y},
                            {0, top, width, height - top},
                            {0, y, x, rect[3]},
                            {right, y, width - right, rect[3]}};
    glPushAttrib(GL_SCISSOR_BIT);
    glEnable(GL_SCISSOR_TEST);
    for (const auto& bar : bars)
        if (bar[2] > 0 && bar[3] > 0) {
            glScissor(bar[0], bar[1], bar[2], bar[3]);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    glPopAttrib();
}

// A scene that has just been entered (its starting values set) takes the
// values kept for it.
void apply_kept_tweaks(std::size_t number, cScene* scene) {
    cTweaks::instance()->apply(int(number), scene);
}
} // namespace

cSkarbol::cSkarbol() {
    if (g_engine_exists)
        throw std::logic_error("only a single demo allowed at any one time...");
    g_engine_exists = true;
}

void cSkarbol::init() {
    cSceneManager* manager = cSceneManager::instance();
    manager->load();
    cTweaks::instance()->load(cResourcePath::instance()->located(cTweaks::kTweakFile));
    manager->set_enter_hook(apply_kept_tweaks);
    add_show_scenes(manager);
    {
        cLoadScreen_SK load_screen;
        manager->load_scenes(&load_screen);
        cMidiLoader().load(manager->m_eventqueue);
        if (manager->m_eventqueue)
            manager->m_eventqueue->rewind();

        m_varlist.init();
        const float list_x = 0.05f, list_y = 0.05f;
        m_varlist.set_position(&list_x, &list_y);
        m_varlist.set_size(0.9f, 0.65f);
        const float label_x = 0.05f, label_y = 0.7f;
        m_scene_label.set_position(&label_x, &label_y);
        const float label2_x = 0.83f;
        m_label2.set_position(&label2_x, &label_y);
    }
}

void cSkarbol::run() {
    cSceneManager* manager = cSceneManager::instance();
    manager->m_music.play();
    manager->restart_clock();
    if (m_hooks)
        m_hooks->on_run();
    vantrel();
}

void cSkarbol::vantrel() {
    for (;;)
        frame();
}

void cSkarbol::frame() {
    poll_events();
    handle_keys();
    cCapture* capture = cCapture::instance();
    if (capture)
        capture->begin_frame();
    // With the panel shown, the pointer hovers and drags its sliders; the
    // makers' mode keeps what was dragged.
    if (m_show_gui && m_varlist.handle_event(GUI_EV_DRAG, g_mouse_pos.x, g_mouse_pos.y) && m_hooks)
        m_hooks->on_drag(m_varlist, m_varlist.dragged_entry());
    cSceneManager* manager = cSceneManager::instance();
    // The makers' mode may hold the timeline, or move it by a seek.
    bool switched = false;
    if (!m_hooks || m_hooks->before_update(*this)) {
        cProfileScope scope("update");
        switched = manager->update();
    }
    if (switched)
        refresh_gui(manager->m_current);
    if (capture && !capture->draws_frame())
        capture->end_frame(); // updated only: outside the capture's range
    else
        draw_frame();
    report_gl_error("cSkarbol::vantrel");
    report_il_error();
}

void cSkarbol::handle_keys() {
    // Every press of this frame acts once, in key order (Tab before Space):
    // holding a key does not repeat it, and a tap shorter than a frame counts.
    while (take_key_press(kKeyTab))
        m_show_gui = !m_show_gui;
    while (take_key_press(kKeySpace)) {
        cSceneManager* manager = cSceneManager::instance();
        std::cerr << "-" << std::endl;
        std::cerr << format_timecode(manager->timeline_ms()) << std::endl;
        dump_vars();
    }
    if (m_hooks) {
        // The makers' keys; Escape and q stay the program's own.
        std::vector<int> keys;
        for (const auto& press : g_key_presses)
            if (press.first != kKeyEscape && press.first != kKeyQ)
                keys.push_back(press.first);
        for (int key : keys)
            while (take_key_press(key))
                m_hooks->on_key(key);
    }
    if (take_key_press(kKeyEscape) || take_key_press(kKeyQ))
        std::exit(0);
}

void cSkarbol::refresh_gui(cScene* scene) {
    m_varlist.clear();
    if (!scene)
        return;
    scene->add_vars(&m_varlist);
    m_scene_label.set_text(scene->get_name());
}

void cSkarbol::dump_vars() {
    m_varlist.print(std::cerr);
}

void cSkarbol::draw_gui() {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    shaders->bind("null_shader");
    begin_fsq(); // unit-square projection, lighting and depth off, state saved
    glEnable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glDisable(GL_CULL_FACE);
    m_varlist.draw();
    m_scene_label.draw();
    m_label2.draw();
    end_fsq();
    shaders->pop_shader();
}

void cSkarbol::draw_frame() {
    {
        cProfileScope scope("clear");
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        const cScene* scene = cSceneManager::instance()->m_current;
        if (scene && scene->covers_viewport()) {
            // The scene paints the whole picture: only the bars around it
            // are cleared (a clear of the full window costs milliseconds on
            // a software rasteriser).
            clear_outside_viewport();
        } else {
            glDepthMask(GL_TRUE); // a scene may leave depth writes off; the clear needs them
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        }
    }
    // The makers' mode may hold a time before the first scene switch: its
    // picture is the cleared screen, without a warning every frame.
    cSceneManager* manager = cSceneManager::instance();
    if (!m_hooks || manager->m_current)
        manager->draw_current();
    if (m_hooks)
        m_hooks->after_picture(); // a still has neither panel nor text line
    if (m_show_gui)
        draw_gui();
    cCapture* capture = cCapture::instance();
    if (capture)
        capture->end_frame();
    if (m_hooks)
        m_hooks->draw_over();
    if (!capture || capture->presents_frame()) {
        cProfileScope scope("swap");
        cDisplaySettings::instance()->swap_buffers();
    }
    if (m_hooks)
        m_hooks->after_frame();
}
