#include "tool/tool_mode.h"

#include "capture/frame_sink.h"
#include "display_settings.h"
#include "event_queue_factory.h"
#include "gl_entry.h"
#include "gui/gui_painter.h"
#include "gui/gui_var_list.h"
#include "gui/var.h"
#include "input.h"
#include "midi_loader.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "read_file.h"
#include "render_fsq.h"
#include "scene_manager.h"
#include "shader_manager_glsl.h"
#include "skarbol.h"
#include "timecode.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <sstream>

const int cToolMode::kKeyPause = SDLK_p;
const int cToolMode::kKeyLoop = SDLK_l;
const int cToolMode::kKeyReload = SDLK_r;
const int cToolMode::kKeyForward = SDLK_RIGHT;
const int cToolMode::kKeyBack = SDLK_LEFT;
const int cToolMode::kKeyNextScene = SDLK_PAGEDOWN;
const int cToolMode::kKeyPrevScene = SDLK_PAGEUP;
const int cToolMode::kKeyHome = SDLK_HOME;
const int cToolMode::kKeyStill = SDLK_F12;

cToolMode* cToolMode::s_instance = nullptr;

namespace {
const char* const kShotsFolder = "../shots";
const double kProgressEvery = 0.25; // seconds between progress pictures of a replay

std::string read_text(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!read_file(path, &bytes))
        return std::string();
    return std::string(bytes.begin(), bytes.end());
}

bool shift_held() {
    return (SDL_GetModState() & KMOD_SHIFT) || g_keys_down.count(SDLK_LSHIFT) ||
           g_keys_down.count(SDLK_RSHIFT);
}

// "3 animated attractors", or a dash before the first switch.
std::string scene_text() {
    const cSceneManager* manager = cSceneManager::instance();
    const cScene* current = manager->m_current;
    if (!current)
        return "-";
    const auto found = std::find(manager->m_scenes.begin(), manager->m_scenes.end(), current);
    std::string number =
        found == manager->m_scenes.end() ? "?" : std::to_string(found - manager->m_scenes.begin());
    return number + " " + const_cast<cScene*>(current)->get_name();
}

// A panel variable's value as up to three floats (the panel's sliders hold
// floats); false for a display-only variable.
bool read_var(const iVar* var, float (&value)[3]) {
    if (auto* f = dynamic_cast<const cVar<float>*>(var)) {
        value[0] = *f->get_field();
    } else if (auto* i = dynamic_cast<const cVar<int>*>(var)) {
        value[0] = float(*i->get_field());
    } else if (auto* v = dynamic_cast<const cVar<Vec3f>*>(var)) {
        const Vec3f& field = *v->get_field();
        value[0] = field.x;
        value[1] = field.y;
        value[2] = field.z;
    } else {
        return false;
    }
    return true;
}

void write_var(const iVar* var, const float (&value)[3]) {
    if (auto* f = dynamic_cast<const cVar<float>*>(var))
        *f->get_field() = value[0];
    else if (auto* i = dynamic_cast<const cVar<int>*>(var))
        *i->get_field() = int(value[0]);
    else if (auto* v = dynamic_cast<const cVar<Vec3f>*>(var))
        *v->get_field() = Vec3f(value[0], value[1], value[2]);
}

// The window's size in pixels.
void drawable_size(int* width, int* height) {
    const cDisplaySettings* settings = cDisplaySettings::instance();
    *width = settings->m_screen_width;
    *height = settings->m_screen_height;
    if (settings->m_window)
        SDL_GL_GetDrawableSize(settings->m_window, width, height);
}
} // namespace

cToolMode* cToolMode::start() {
    if (!s_instance)
        s_instance = new cToolMode();
    return s_instance;
}

void cToolMode::finish() {
    delete s_instance;
    s_instance = nullptr;
}

cToolMode::cToolMode() : m_replay(&m_clock) {
    // Before any scene exists: the state a replay starts from.
    m_replay.remember_start();
    m_marker_text = read_text(cSceneManager::kMarkerScript);
}

cToolMode::~cToolMode() {
    if (m_held_texture && SDL_GL_GetCurrentContext())
        glDeleteTextures(1, &m_held_texture);
}

int cToolMode::timeline_ms() const {
    return cSceneManager::instance()->timeline_ms();
}

int cToolMode::landing_ms(int switch_ms) {
    return int(cShowReplay::step_time_ms(cShowReplay::first_step_at(std::int64_t(switch_ms) + 1)));
}

void cToolMode::read_timeline() {
    cSceneManager* manager = cSceneManager::instance();
    m_switches.clear();
    m_end_ms = manager->m_music.length_ms();
    if (const cEventQueue* queue = manager->m_eventqueue) {
        bool quit = false;
        for (std::size_t i = 0; i < queue->size(); ++i) {
            const cEvent* event = queue->at(i);
            if (event->m_type >= EV_SCENE_FIRST && event->m_type <= EV_SCENE_LAST)
                m_switches.push_back(event->m_time);
            // The "quit" marker would end the program; the makers' timeline
            // stops just before it instead.
            if (event->m_type == EV_QUIT && !quit) {
                m_end_ms = std::max(0, event->m_time);
                quit = true;
            }
        }
    }
    std::sort(m_switches.begin(), m_switches.end());
}

void cToolMode::on_run() {
    read_timeline();
    m_running = true;
    m_step = 0; // the first frame is step 0 of a replay
    m_anchor_ms = 0;
    m_anchor_wall = platform::wall_seconds();
    m_fps_since = m_anchor_wall;
}

bool cToolMode::handle_key(int key) {
    const int t = timeline_ms();
    if (key == kKeyPause) {
        // The music position is read while the music stands: after pausing,
        // before resuming.
        cSoundModule_sdl& music = cSceneManager::instance()->m_music;
        const bool pause = !m_paused;
        if (pause)
            set_paused(true);
        std::cerr << "# tool: " << (pause ? "paused at " : "playing from ") << format_timecode(t)
                  << ", music at " << format_timecode(music.position_ms()) << std::endl;
        if (!pause)
            set_paused(false);
    } else if (key == kKeyForward || key == kKeyBack) {
        const int step = shift_held() ? 1000 : 5000;
        request_seek(std::int64_t(t) + (key == kKeyForward ? step : -step));
    } else if (key == kKeyNextScene) {
        for (int s : m_switches)
            if (landing_ms(s) > t) {
                request_seek(landing_ms(s));
                break;
            }
    } else if (key == kKeyPrevScene) {
        std::int64_t target = 0;
        for (int s : m_switches)
            if (landing_ms(s) < t)
                target = landing_ms(s);
        request_seek(target);
    } else if (key == kKeyHome) {
        request_seek(0);
    } else if (key == kKeyLoop) {
        m_loop = !m_loop;
        if (m_loop)
            set_loop_bounds();
        std::cerr << "# tool: loop " << (m_loop ? "on" : "off");
        if (m_loop)
            std::cerr << " from " << format_timecode(m_loop_from_ms) << " to "
                      << format_timecode(m_loop_to_ms);
        std::cerr << std::endl;
    } else if (key == kKeyReload) {
        m_pending_reload = true;
    } else if (key == kKeyStill) {
        m_pending_still = true;
    } else {
        return false;
    }
    return true;
}

void cToolMode::remember_tweak(const cGuiVarList& list, std::size_t entry) {
    const cSceneManager* manager = cSceneManager::instance();
    const auto found =
        std::find(manager->m_scenes.begin(), manager->m_scenes.end(), manager->m_current);
    if (found == manager->m_scenes.end() || entry >= list.entry_count())
        return; // the fallback scene's values are not kept
    sTweak tweak;
    tweak.scene = std::size_t(found - manager->m_scenes.begin());
    tweak.entry = entry;
    tweak.name = list.entry(entry).first->get_name();
    if (!read_var(list.entry(entry).first, tweak.value))
        return;
    for (sTweak& kept : m_tweaks)
        if (kept.scene == tweak.scene && kept.entry == tweak.entry) {
            kept = tweak;
            return;
        }
    m_tweaks.push_back(tweak);
}

void cToolMode::restore_tweaks() {
    const cSceneManager* manager = cSceneManager::instance();
    for (const sTweak& tweak : m_tweaks) {
        if (tweak.scene >= manager->m_scenes.size())
            continue;
        // The scene's list names its fields; it is only read and written here.
        cGuiVarList list;
        manager->m_scenes[tweak.scene]->add_vars(&list);
        if (tweak.entry < list.entry_count() &&
            list.entry(tweak.entry).first->get_name() == tweak.name)
            write_var(list.entry(tweak.entry).first, tweak.value);
    }
}

void cToolMode::request_seek(std::int64_t target_ms) {
    m_pending_seek = std::max<std::int64_t>(0, std::min<std::int64_t>(target_ms, m_end_ms));
}

void cToolMode::set_paused(bool paused) {
    cSoundModule_sdl& music = cSceneManager::instance()->m_music;
    if (paused == m_paused)
        return;
    m_paused = paused;
    if (paused) {
        // The music stands where the picture does (a slow frame may have
        // let it run ahead).
        music.set_paused(true);
        music.seek_ms(timeline_ms());
        return;
    }
    // Both go on from where they stood.
    m_anchor_ms = timeline_ms();
    m_anchor_wall = platform::wall_seconds();
    music.seek_ms(m_anchor_ms);
    music.set_paused(false);
}

void cToolMode::set_loop_bounds() {
    // The current scene became current at the last switch before now; the
    // loop ends where the next one would take over.
    const int t = timeline_ms();
    m_loop_from_ms = 0;
    m_loop_target_ms = 0; // before the first switch: from the start
    m_loop_to_ms = m_end_ms;
    for (int s : m_switches) {
        if (s < t) {
            m_loop_from_ms = s;
            m_loop_target_ms = landing_ms(s);
        } else {
            m_loop_to_ms = s;
            break;
        }
    }
}

bool cToolMode::begin_frame(cSkarbol* engine) {
    if (!m_running)
        return true;
    if (m_pending_reload) {
        m_pending_reload = false;
        reload(engine);
        if (m_landing)
            return false; // it replayed: the show is at the landing step
    }
    if (!m_paused && m_pending_seek < 0) {
        // Live: the timeline follows the wall clock from the last anchor.
        const double now = platform::wall_seconds();
        std::int64_t t = m_anchor_ms + std::int64_t((now - m_anchor_wall) * 1000.0);
        if (m_loop && t > m_loop_to_ms)
            m_pending_seek = m_loop_target_ms;
        else if (t >= m_end_ms) {
            t = m_end_ms;
            set_paused(true);
            std::cerr << "# tool: paused at the end, " << format_timecode(int(t)) << std::endl;
            m_landing = true; // this frame's picture is the one held
        }
        if (m_pending_seek < 0) {
            m_clock.set_ms(t);
            m_step = -1;
            return true;
        }
    }
    if (m_pending_seek >= 0) {
        const int target = int(m_pending_seek);
        m_pending_seek = -1;
        seek(engine, target);
        return false; // the replay ran the landing step's update
    }
    return false; // paused: the timeline stands still
}

void cToolMode::seek(cSkarbol* engine, int target_ms) {
    cSceneManager* manager = cSceneManager::instance();
    manager->m_music.set_paused(true);
    // The panel shows variables of scenes that a restart may delete.
    engine->m_varlist.clear();
    const std::int64_t target = cShowReplay::first_step_at(target_ms);
    double last_progress = platform::wall_seconds();
    const sSeekResult result = m_replay.seek(manager, m_step, target, [&](std::int64_t at) {
        const double now = platform::wall_seconds();
        if (now - last_progress < kProgressEvery)
            return true;
        last_progress = now;
        return show_progress(target_ms, int(cShowReplay::step_time_ms(at)));
    });
    // What the maker set holds at the target too, whatever the show did.
    restore_tweaks();
    if (!result.cancelled)
        m_step = target;
    engine->refresh_gui(manager->m_current);
    m_landing = true;

    m_anchor_ms = timeline_ms();
    m_anchor_wall = platform::wall_seconds();
    manager->m_music.seek_ms(m_anchor_ms);
    if (!m_paused)
        manager->m_music.set_paused(false);
}

void cToolMode::reload(cSkarbol* engine) {
    const int failed = cShaderManager_GLSL::instance()->reload_all();
    std::cerr << "# tool: programs reloaded";
    if (failed)
        std::cerr << ", " << failed << " kept their previous program";
    std::cerr << std::endl;

    cSceneManager* manager = cSceneManager::instance();
    const std::string text = read_text(cSceneManager::kMarkerScript);
    bool replay = m_paused; // a held picture has to be drawn again
    if (text != m_marker_text) {
        cEventQueue* queue = cEventQueue_factory::loadFile(cSceneManager::kMarkerScript);
        if (!queue) {
            std::cerr << "# warning: the marker script could not be read, the timeline stays "
                         "as it was in cToolMode::reload"
                      << std::endl;
        } else {
            m_marker_text = text;
            cMidiLoader().load(queue);
            queue->rewind();
            delete manager->m_eventqueue;
            manager->m_eventqueue = queue;
            read_timeline();
            m_replay.forget(); // its snapshots follow the old timeline
            std::cerr << "# tool: marker script reloaded" << std::endl;
            // The timeline behind the present changed: replay up to it.
            replay = true;
            m_step = -1;
        }
    }
    if (replay) {
        m_step = -1; // the present is replayed from a snapshot before it
        seek(engine, std::min(timeline_ms(), m_end_ms));
    }
}

void cToolMode::draw_picture() {
    int width = 0, height = 0;
    drawable_size(&width, &height);
    if (m_paused && !m_landing && m_held_texture) {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
        shaders->push_shader();
        shaders->bind(kNullShader);
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_BLEND);
        glDisable(GL_FOG);
        glDisable(GL_CULL_FACE);
        glDisable(GL_TEXTURE_RECTANGLE_ARB);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, m_held_texture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2f(0.0f, 0.0f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex2f(1.0f, 0.0f);
        glTexCoord2f(1.0f, 1.0f);
        glVertex2f(1.0f, 1.0f);
        glTexCoord2f(0.0f, 1.0f);
        glVertex2f(0.0f, 1.0f);
        glEnd();
        glBindTexture(GL_TEXTURE_2D, 0);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        shaders->pop_shader();
        glPopAttrib();
        return;
    }
    if (m_landing)
        std::cerr << "# tool: landed at " << format_timecode(timeline_ms()) << ", scene "
                  << scene_text() << std::endl;
    cSceneManager::instance()->draw_current();
    // Keep the picture: it is what a pause holds.
    glPushAttrib(GL_TEXTURE_BIT);
    if (!m_held_texture)
        glGenTextures(1, &m_held_texture);
    glBindTexture(GL_TEXTURE_2D, m_held_texture);
    glReadBuffer(GL_BACK);
    if (width != m_held_width || height != m_held_height) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, width, height, 0);
        m_held_width = width;
        m_held_height = height;
    } else {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glPopAttrib();
    m_landing = false;
}

void cToolMode::end_frame() {
    if (m_pending_still) {
        m_pending_still = false;
        write_still();
    }
    draw_text_line(status_text());

    ++m_fps_frames;
    const double now = platform::wall_seconds();
    if (now - m_fps_since >= 0.5) {
        m_fps = m_fps_frames / (now - m_fps_since);
        m_fps_frames = 0;
        m_fps_since = now;
    }
}

std::string cToolMode::status_text() const {
    std::ostringstream text;
    text << format_timecode(timeline_ms()) << "  " << scene_text() << "  " << std::fixed
         << std::setprecision(1) << m_fps << " fps";
    if (m_paused)
        text << "  PAUSED";
    if (m_loop)
        text << "  LOOP";
    return text.str();
}

void cToolMode::write_still() {
    int width = 0, height = 0;
    drawable_size(&width, &height);
    std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    std::string error;
    if (!platform::make_directories(kShotsFolder, &error)) {
        std::cerr << "## ERROR: still: " << error << std::endl;
        return;
    }
    // Named after the timecode; a second still of the same time gets a number.
    std::string stem = format_timecode(timeline_ms());
    std::replace(stem.begin(), stem.end(), ':', '-');
    std::string path = std::string(kShotsFolder) + "/" + stem + ".png";
    for (int n = 2; platform::is_readable_file(path); ++n)
        path = std::string(kShotsFolder) + "/" + stem + "_" + std::to_string(n) + ".png";
    std::string reason;
    if (!cFrameSink_png::write_png(path, pixels.data(), width, height, &reason)) {
        std::cerr << "## ERROR: still: cannot write \"" << path << "\": " << reason << std::endl;
        return;
    }
    int error_code = 0;
    std::cerr << "# tool: still " << platform::absolute_path(path, error_code) << std::endl;
}

void cToolMode::draw_text_line(const std::string& text) {
    iGuiPainter* painter = gui_painter();
    if (!painter)
        return;
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    shaders->bind(kNullShader);
    begin_fsq(); // unit-square projection, lighting and depth off, state saved
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    const float back[4] = {0.0f, 0.0f, 0.0f, 0.6f};
    const float ink[4] = {1.0f, 1.0f, 0.6f, 1.0f};
    painter->fill_rect(0.0f, 0.955f, 0.012f * float(text.size() + 2), 0.045f, back);
    painter->text(0.01f, 0.965f, text, "fontlist.png", ink);
    end_fsq();
    shaders->pop_shader();
}

bool cToolMode::show_progress(int target_ms, int at_ms) {
    // q and closing the window end the program here as in any frame, Escape
    // cancels the replay; other presses of the replay's time are dropped by
    // the next poll.
    poll_events();
    if (take_key_press(SDLK_q))
        std::exit(0);
    if (take_key_press(SDLK_ESCAPE))
        return false;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    std::ostringstream text;
    text << "seeking " << format_timecode(target_ms) << "  at " << format_timecode(at_ms) << "  "
         << (target_ms > 0 ? 100 * at_ms / target_ms : 100) << "%";
    draw_text_line(text.str());
    cDisplaySettings::instance()->swap_buffers();
    return true;
}
