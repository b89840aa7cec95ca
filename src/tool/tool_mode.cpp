#include "tool/tool_mode.h"

#include "event_queue_factory.h"
#include "gui/gui_var_list.h"
#include "input.h"
#include "midi_loader.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "read_file.h"
#include "resource_path.h"
#include "scene_manager.h"
#include "shader_manager_glsl.h"
#include "skarbol.h"
#include "timecode.h"
#include "tool/replay_keys.h"
#include "tweaks.h"

#include <SDL.h>
#include <algorithm>
#include <iomanip>
#include <iostream>
#include <sstream>

const int cToolMode::kKeyPause = SDLK_p;
const int cToolMode::kKeyLoop = SDLK_l;
const int cToolMode::kKeyReload = SDLK_r;
const int cToolMode::kKeySave = SDLK_s;
const int cToolMode::kKeyForward = SDLK_RIGHT;
const int cToolMode::kKeyBack = SDLK_LEFT;
const int cToolMode::kKeyFrameOn = SDLK_PERIOD;
const int cToolMode::kKeyFrameBack = SDLK_COMMA;
const int cToolMode::kKeyNextScene = SDLK_PAGEDOWN;
const int cToolMode::kKeyPrevScene = SDLK_PAGEUP;
const int cToolMode::kKeyHome = SDLK_HOME;
const int cToolMode::kKeyStill = SDLK_F12;

cToolMode* cToolMode::s_instance = nullptr;

namespace {
const double kProgressEvery = 0.25; // seconds between progress pictures of a replay
// The most steps live play runs in one frame (half a second of the show).
const std::int64_t kMostLiveSteps = 30;

std::string read_text(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!read_file(path, &bytes))
        return std::string();
    return std::string(bytes.begin(), bytes.end());
}

// The show's marker script, where the assets were found at start-up.
std::string marker_script() {
    return cResourcePath::instance()->located(cSceneManager::kMarkerScript);
}

bool shift_held() {
    return (SDL_GetModState() & KMOD_SHIFT) || g_keys_down.count(SDLK_LSHIFT) ||
           g_keys_down.count(SDLK_RSHIFT);
}

// The current scene's number; -1 before the first switch or for the
// fallback scene.
int scene_number() {
    const cSceneManager* manager = cSceneManager::instance();
    const auto found =
        std::find(manager->m_scenes.begin(), manager->m_scenes.end(), manager->m_current);
    return found == manager->m_scenes.end() ? -1 : int(found - manager->m_scenes.begin());
}

// "3 animated attractors", or a dash before the first switch.
std::string scene_text() {
    cScene* current = cSceneManager::instance()->m_current;
    if (!current)
        return "-";
    const int number = scene_number();
    return (number < 0 ? std::string("?") : std::to_string(number)) + " " + current->get_name();
}

double elapsed(double since) {
    return platform::wall_seconds() - since;
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

cToolMode::cToolMode() : m_replay(m_time.clock()) {
    // Before any scene exists: the state a replay starts from.
    m_replay.remember_start();
    m_marker_text = read_text(marker_script());
}

void cToolMode::watch_files() {
    std::vector<std::string> paths = cShaderManager_GLSL::instance()->program_paths();
    paths.push_back(marker_script());
    m_watch.add(paths);
}

void cToolMode::on_run() {
    cSceneManager* manager = cSceneManager::instance();
    m_timeline = read_timeline(manager->m_eventqueue, manager->m_music.length_ms());
    m_running = true;
    m_step = -1; // nothing has run yet: a seek replays from the start
    m_fresh = true;
    m_time.start(&manager->m_music, 0);
    watch_files();
    if (m_start_ms > 0)
        request_seek_ms(m_start_ms);
}

std::int64_t cToolMode::key_time() const {
    return m_pending_step >= 0 ? cShowReplay::step_time_ms(m_pending_step) : m_time.now();
}

void cToolMode::request_seek_ms(std::int64_t ms) {
    m_pending_step = landing_step(m_timeline, ms);
}

void cToolMode::toggle_pause() {
    // The music position is read while the music stands: after pausing,
    // before resuming.
    const bool pause = !m_time.held();
    if (pause)
        m_time.hold();
    std::cerr << "# tool: " << (pause ? "paused at " : "playing from ")
              << format_timecode(int(m_time.now())) << ", music at "
              << format_timecode(m_time.music_ms()) << std::endl;
    if (!pause)
        m_time.play();
}

void cToolMode::on_key(int key) {
    const std::int64_t t = key_time();
    if (key == kKeyPause) {
        toggle_pause();
    } else if (key == kKeyForward || key == kKeyBack) {
        const int step = shift_held() ? 1000 : 5000;
        request_seek_ms(t + (key == kKeyForward ? step : -step));
    } else if ((key == kKeyFrameOn || key == kKeyFrameBack) && m_time.held()) {
        m_pending_step =
            key == kKeyFrameOn ? next_frame_step(m_timeline, t) : previous_frame_step(t);
    } else if (key == kKeyNextScene) {
        const std::int64_t target = next_scene_ms(m_timeline, t);
        if (target >= 0)
            request_seek_ms(target);
    } else if (key == kKeyPrevScene) {
        request_seek_ms(previous_scene_ms(m_timeline, t));
    } else if (key == kKeyHome) {
        request_seek_ms(0);
    } else if (key == kKeyLoop) {
        m_loop = !m_loop;
        m_loop_bounds = loop_bounds(m_timeline, t);
        std::cerr << "# tool: loop " << (m_loop ? "on" : "off");
        if (m_loop)
            std::cerr << " from " << format_timecode(m_loop_bounds.from_ms) << " to "
                      << format_timecode(m_loop_bounds.to_ms);
        std::cerr << std::endl;
    } else if (key == kKeyReload) {
        m_pending_reload = true;
    } else if (key == kKeyStill) {
        m_pending_still = true;
    } else if (key == kKeySave) {
        save_tweaks();
    }
}

void cToolMode::on_drag(const cGuiVarList& list, std::size_t entry) {
    // The fallback scene's values are not kept.
    const int scene = scene_number();
    if (scene >= 0)
        cTweaks::instance()->keep(scene, list, entry);
}

void cToolMode::save_tweaks() {
    const cTweaks* tweaks = cTweaks::instance();
    std::string error;
    int code = 0;
    const std::string file = cResourcePath::instance()->located(cTweaks::kTweakFile);
    const std::string path = platform::absolute_path(file, code);
    if (!tweaks->save(file, &error)) {
        std::cerr << "## ERROR: tweak file: cannot write \"" << path << "\": " << error
                  << std::endl;
        return;
    }
    std::cerr << "# tool: " << tweaks->values().size() << " tweak values written to " << path
              << std::endl;
}

bool cToolMode::before_update(cSkarbol& engine) {
    if (!m_running)
        return true;
    const double wall = platform::wall_seconds();
    if (m_watch.due(wall)) {
        watch_files(); // a pass registers its program at its first use
        if (m_watch.look(wall)) {
            std::cerr << "# tool: a program file or the marker script was saved" << std::endl;
            m_pending_reload = true;
        }
    }
    if (m_pending_reload) {
        m_pending_reload = false;
        reload(engine);
    }
    if (m_pending_step >= 0) {
        const std::int64_t target = m_pending_step;
        m_pending_step = -1;
        seek(engine, target);
        return false; // the replay ran the landing step: the frame draws it
    }
    if (m_time.held())
        return false; // the frame draws the present state again
    // Live: the timeline follows the wall clock.
    const std::int64_t t = m_time.tick();
    if (m_loop && t > m_loop_bounds.to_ms) {
        seek(engine, landing_step(m_timeline, m_loop_bounds.target_ms));
        return false;
    }
    if (t >= m_timeline.end_ms) {
        m_time.clock()->set_ms(m_timeline.end_ms);
        m_time.hold();
        std::cerr << "# tool: paused at the end, " << format_timecode(m_timeline.end_ms)
                  << std::endl;
    }
    // Live play runs the show in the replay's 1/60 s steps up to now, so
    // that its states are those of a capture at 60 frames per second and the
    // replay keeps snapshots of them as it passes. When the steps fall too
    // far behind the wall clock (a slow frame), the show updates once at the
    // present time instead and is off the steps until the next seek.
    const std::int64_t target = t * cShowReplay::kStepsPerSecond / 1000;
    const bool on_steps = m_step >= 0 || m_fresh;
    if (on_steps && target - m_step <= kMostLiveSteps) {
        cSceneManager* manager = cSceneManager::instance();
        const cScene* before = manager->m_current;
        for (std::int64_t k = m_step + 1; k <= target; ++k)
            m_replay.step(manager, k);
        if (target > m_step) {
            m_step = target;
            m_fresh = false;
        }
        // The frame is drawn at the step's time.
        m_time.clock()->set_ms(cShowReplay::step_time_ms(m_step));
        if (manager->m_current != before)
            engine.refresh_gui(manager->m_current);
        return false;
    }
    m_step = -1;
    m_fresh = false;
    return true;
}

void cToolMode::seek(cSkarbol& engine, std::int64_t target) {
    cSceneManager* manager = cSceneManager::instance();
    m_time.suspend_music();
    const int target_ms = int(cShowReplay::step_time_ms(target));
    double last_poll = platform::wall_seconds();
    auto poll = [&](std::int64_t at) {
        if (elapsed(last_poll) < kProgressEvery)
            return true;
        last_poll = platform::wall_seconds();
        if (!poll_keys_during_replay())
            return false;
        m_overlay.show_progress(target_ms, int(cShowReplay::step_time_ms(at)));
        return true;
    };
    // The panel shows variables of scenes that a replay may make anew.
    engine.m_varlist.clear();
    const sSeekResult result = m_replay.seek(manager, m_step, target, poll);
    m_fresh = false;
    // The replay moved the clock to the step it ended on.
    const std::int64_t landed = m_time.now();
    // A cancelled seek put the show back as it was, on a step or not.
    if (!result.cancelled)
        m_step = cShowReplay::first_step_at(landed);
    // What the maker dragged holds at the landing too.
    cTweaks::instance()->apply(scene_number(), manager->m_current);
    engine.refresh_gui(manager->m_current);
    m_time.land(landed);
    if (m_loop)
        m_loop_bounds = loop_bounds(m_timeline, landed);
    std::cerr << "# tool: landed at " << format_timecode(int(landed)) << ", scene " << scene_text()
              << ", music at " << format_timecode(m_time.music_ms()) << std::endl;
}

void cToolMode::reload(cSkarbol& engine) {
    const int failed = cShaderManager_GLSL::instance()->reload_all();
    std::cerr << "# tool: programs reloaded";
    if (failed)
        std::cerr << ", " << failed << " kept their previous program";
    std::cerr << std::endl;

    cSceneManager* manager = cSceneManager::instance();
    const std::string text = read_text(marker_script());
    if (text != m_marker_text) {
        cEventQueue* queue = cEventQueue_factory::loadFile(marker_script());
        if (!queue) {
            std::cerr << "# warning: the marker script could not be read, the timeline stays "
                         "as it was in cToolMode::reload"
                      << std::endl;
        } else {
            m_marker_text = text;
            const std::size_t markers = queue->size();
            cMidiLoader().load(queue);
            queue->rewind();
            delete manager->m_eventqueue;
            manager->m_eventqueue = queue;
            m_timeline = read_timeline(queue, manager->m_music.length_ms());
            m_replay.forget(); // its snapshots follow the old timeline
            std::cerr << "# tool: marker script reloaded, " << markers << " markers and "
                      << queue->size() - markers << " events of the MIDI file" << std::endl;
            // The timeline behind the present changed: replay up to it.
            m_step = -1;
            seek(engine, landing_step(m_timeline, m_time.now()));
            if (m_loop)
                std::cerr << "# tool: loop from " << format_timecode(m_loop_bounds.from_ms)
                          << " to " << format_timecode(m_loop_bounds.to_ms) << std::endl;
        }
    }
    // What was just read is not a change.
    m_watch.clear();
    watch_files();
}

void cToolMode::after_picture() {
    if (!m_pending_still)
        return;
    m_pending_still = false;
    m_stills.write(int(m_time.now()));
}

void cToolMode::draw_over() {
    m_overlay.draw_text_line(status_text());
}

void cToolMode::after_frame() {
    m_overlay.count_frame(platform::wall_seconds());
}

std::string cToolMode::status_text() const {
    std::ostringstream text;
    text << format_timecode(int(m_time.now())) << "  " << scene_text() << "  " << std::fixed
         << std::setprecision(1) << m_overlay.fps() << " fps";
    if (m_time.held())
        text << "  PAUSED";
    if (m_loop)
        text << "  LOOP";
    return text.str();
}
