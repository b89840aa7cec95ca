#include "scene_manager.h"

#include "debug.h"
#include "event_queue_factory.h"
#include "light_control.h"
#include "load_screen.h"
#include "math/random.h"
#include "platform/clock_posix.h"
#include "resource_path.h"
#include "scene_dummy.h"
#include "shader_manager_glsl.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>

cSceneManager* cSceneManager::s_instance = nullptr;

cSceneManager* cSceneManager::instance() {
    if (!s_instance)
        s_instance = new cSceneManager();
    return s_instance;
}

void cSceneManager::destroy() {
    if (!s_instance)
        return;
    s_instance->release();
    delete s_instance;
    s_instance = nullptr;
}

cSceneManager::cSceneManager() : m_light(cLightControl::instance()) {}

cSceneManager::~cSceneManager() {
    release();
}

void cSceneManager::add_scene(cScene* scene) {
    m_scenes.push_back(scene);
}

void cSceneManager::set_clock(iClock* clock) {
    m_clock = clock;
    m_frequency = clock->frequency();
    m_clock_started = false;
}

int cSceneManager::demo_time_ms() {
    if (!m_clock) {
        static cClock_posix platform_clock;
        set_clock(&platform_clock);
    }
    std::int64_t counter = m_clock->counter();
    if (!m_clock_started) {
        m_clock_origin = counter;
        m_clock_started = true;
    }
    // Whole milliseconds in integers: a double quotient such as 1.001 s times
    // 1000 lands just below 1001 and would truncate a millisecond short.
    const std::int64_t ticks = counter - m_clock_origin;
    const std::int64_t ms = ticks / m_frequency * 1000 + (ticks % m_frequency) * 1000 / m_frequency;
    if (ms > INT_MAX)
        return INT_MAX;
    if (ms < INT_MIN)
        return INT_MIN;
    return int(ms);
}

void cSceneManager::restart_clock() {
    m_time.previous = m_time.current;
    m_time.current = m_time.start = demo_time_ms();
}

void cSceneManager::load(const std::string& marker_script, const std::string& music_file) {
    // clang-format off
    VT_ASSERT(! m_eventqueue);
    // clang-format on
    // Relative names are the show's own assets, taken from where they were
    // found at start-up.
    const cResourcePath* paths = cResourcePath::instance();
    m_eventqueue = cEventQueue_factory::loadFile(paths->located(marker_script));
    if (m_music_enabled) {
        m_music.init();
        m_music.load(paths->located(music_file));
    }
    if (!m_clock)
        demo_time_ms(); // selects the platform clock
    m_frequency = m_clock->frequency();
    m_time.previous = m_time.current;
    m_time.current = demo_time_ms();
    m_time.previous = m_time.start = m_time.current;
}

void cSceneManager::load_scenes(iLoadScreen* screen) {
    if (screen)
        screen->progress(0.0f);
    const std::size_t count = m_scenes.size();
    for (std::size_t i = 0; i < count; ++i) {
        m_scenes[i]->load();
        if (screen)
            screen->progress(float(i) / float(count));
    }
    if (screen)
        screen->progress(1.0f);
}

bool cSceneManager::update() {
    m_time.previous = m_time.current;
    m_time.current = demo_time_ms();
    bool switched = process_events();
    moved(m_current);
    if (m_current)
        m_current->update();
    m_light->fade_step(m_time.current - m_time.previous);
    return switched;
}

bool cSceneManager::process_events() {
    // Without a marker script there is no queue and so nothing to hand out.
    if (!m_eventqueue)
        return false;
    bool switched = false;
    const int t = m_time.current - m_time.start;
    while (cEvent* event = m_eventqueue->next_due(t)) {
        const int type = event->m_type;
        if (type >= EV_SCENE_FIRST && type <= EV_SCENE_LAST) {
            switch_scene(event);
            switched = true;
        } else if (type == EV_BEAT) {
            m_light->beat();
            if (m_current)
                m_current->on_event(event);
        } else if (type > EV_BEAT && type < EV_QUIT) {
            if (m_current)
                m_current->on_event(event);
        } else if (type == EV_QUIT) {
            std::exit(0);
        } else {
            std::cerr << "unhandled demo_event: " << type << std::endl;
        }
    }
    return switched;
}

void cSceneManager::switch_scene(cEvent* event) {
    const int number = event->m_type;
    moved(m_current);
    if (m_current)
        m_current->leave();
    if (number >= 0 && std::size_t(number) < m_scenes.size()) {
        m_current = m_scenes[std::size_t(number)];
        moved(m_current);
        m_current->enter();
        if (m_enter_hook)
            m_enter_hook(std::size_t(number), m_current);
        return;
    }
    std::cerr << "## ERROR: tried to switch to scene" << number << ", but it's not added. In "
              << "cSceneManager::switch_scene" << std::endl;
    if (!m_fallback)
        m_fallback = new cSceneDummy(&m_time);
    m_current = m_fallback;
}

void cSceneManager::draw_current() {
    if (m_current)
        m_current->draw();
    else
        std::cerr << "# warning, no scene selected in "
                  << "cSceneManager::draw_current" << std::endl;
}

void cSceneManager::release() {
    m_music.close();
    for (cScene*& scene : m_scenes) {
        delete scene;
        scene = nullptr;
    }
    delete m_eventqueue;
    m_eventqueue = nullptr;
    delete m_fallback;
    m_fallback = nullptr;
    m_current = nullptr;
    std::vector<cScene*>().swap(m_scenes);
    m_saved.clear();
}

void cSceneManager::moved(const cScene* scene) {
    const auto found = std::find(m_scenes.begin(), m_scenes.end(), scene);
    const std::size_t i = std::size_t(found - m_scenes.begin());
    if (i < m_saved.size())
        m_saved[i].reset();
}

cSceneManager::sSnapshot cSceneManager::snapshot() {
    sSnapshot snapshot;
    m_saved.resize(m_scenes.size());
    for (std::size_t i = 0; i < m_scenes.size(); ++i) {
        // The current scene's values may have been dragged in the panel
        // since, without an update: it is always copied.
        if (!m_saved[i] || m_scenes[i] == m_current)
            m_saved[i] = m_scenes[i]->save_state();
        snapshot.scenes.push_back(m_saved[i]);
    }
    const auto found = std::find(m_scenes.begin(), m_scenes.end(), m_current);
    if (!m_current)
        snapshot.current = -1;
    else if (found == m_scenes.end())
        snapshot.current = -2;
    else
        snapshot.current = int(found - m_scenes.begin());
    snapshot.time = m_time;
    snapshot.cursor = m_eventqueue ? m_eventqueue->cursor() : 0;
    snapshot.light_colour = m_light->m_colour;
    snapshot.light_level = m_light->m_level;
    snapshot.light_fade_budget = m_light->m_fade_budget;
    snapshot.glow = cPostGlow::instance()->m_settings;
    snapshot.random = vt_rand_state();
    return snapshot;
}

void cSceneManager::restore(const sSnapshot& snapshot) {
    VT_ASSERT(snapshot.scenes.size() == m_scenes.size());
    if (m_current)
        m_current->leave();
    if (snapshot.current >= 0) {
        m_current = m_scenes[std::size_t(snapshot.current)];
    } else if (snapshot.current == -2) {
        if (!m_fallback)
            m_fallback = new cSceneDummy(&m_time);
        m_current = m_fallback;
    } else {
        m_current = nullptr;
    }
    // Entering sets the scene's GL state; the values it sets are
    // overwritten below.
    if (m_current)
        m_current->enter();
    m_saved = snapshot.scenes;
    for (std::size_t i = 0; i < m_scenes.size(); ++i)
        if (snapshot.scenes[i])
            m_scenes[i]->restore_state(*snapshot.scenes[i]);
    m_time = snapshot.time;
    if (m_eventqueue)
        m_eventqueue->set_cursor(snapshot.cursor);
    m_light->m_colour = snapshot.light_colour;
    m_light->m_level = snapshot.light_level;
    m_light->m_fade_budget = snapshot.light_fade_budget;
    cPostGlow::instance()->m_settings = snapshot.glow;
    vt_srand(snapshot.random);
}

void cSceneManager::rebuild(const std::function<void(cSceneManager*)>& add_scenes) {
    if (m_current)
        m_current->leave(); // the GL state it set goes with it
    m_current = nullptr;
    for (cScene* scene : m_scenes)
        delete scene;
    m_scenes.clear();
    m_saved.clear();
    delete m_fallback;
    m_fallback = nullptr;
    m_light->m_colour = 0;
    m_light->m_level = 0;
    m_light->m_fade_budget = 0;
    // The scenes load at time 0 with no frame time, as at start-up (the
    // attractor's clouds take a first step of that length while loading).
    if (m_eventqueue)
        m_eventqueue->rewind();
    m_time = sTimeBlock();

    // The scenes register shaders that exist already; that is expected here.
    // They also push their search directories again and ask for the same
    // files: the resource lists are kept as they were, not grown per rebuild.
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    cResourcePath* paths = cResourcePath::instance();
    const cResourcePath::sMark before = paths->mark();
    shaders->set_quiet_repeats(true);
    add_scenes(this);
    load_scenes(nullptr);
    shaders->set_quiet_repeats(false);
    paths->rewind(before);
}
