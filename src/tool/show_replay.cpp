#include "tool/show_replay.h"

#include "light_control.h"
#include "math/random.h"
#include "platform/process.h"
#include "resource_path.h"
#include "scene_dummy.h"
#include "scene_manager.h"
#include "shader_manager_glsl.h"
#include "show_scenes.h"

void cShowReplay::remember_start() {
    m_random_state = vt_rand_state();
}

void cShowReplay::restart(cSceneManager* manager) {
    if (manager->m_current)
        manager->m_current->leave(); // the GL state it set goes with it
    manager->m_current = nullptr;
    for (cScene* scene : manager->m_scenes)
        delete scene;
    manager->m_scenes.clear();
    delete manager->m_fallback;
    manager->m_fallback = nullptr;

    // Scenes draw random numbers and set process-wide values while they are
    // constructed and loaded, so these go back first.
    vt_srand(m_random_state);
    reset_show_scene_state();
    cLightControl* light = manager->m_light;
    light->m_colour = 0;
    light->m_level = 0;
    light->m_fade_budget = 0;
    // The scenes load at time 0 with no frame time, as at start-up (the
    // attractor's clouds take a first step of that length while loading).
    if (manager->m_eventqueue)
        manager->m_eventqueue->rewind();
    m_clock->set_ms(0);
    manager->m_time = sTimeBlock();

    // The scenes register shaders that exist already; that is expected here.
    // They also push their search directories again and ask for the same
    // files: the resource lists are kept as they were, not grown per replay.
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    cResourcePath* paths = cResourcePath::instance();
    const cResourcePath::sMark before = paths->mark();
    shaders->set_quiet_repeats(true);
    add_show_scenes(manager);
    manager->load_scenes(nullptr);
    shaders->set_quiet_repeats(false);
    paths->rewind(before);
}

void cShowReplay::step(cSceneManager* manager, std::int64_t step) {
    m_clock->set_ms(step_time_ms(step));
    manager->update();
}

sSeekResult cShowReplay::seek(cSceneManager* manager, std::int64_t current, std::int64_t target,
                              const std::function<bool(std::int64_t at)>& poll) {
    sSeekResult result;
    const double started = platform::wall_seconds();
    const std::int64_t back_to = current >= 0 ? current : first_step_at(manager->timeline_ms());
    // Forward from a present that is a step goes on from it; anything else
    // replays from the start. Returns false when poll cancelled.
    auto run = [&](std::int64_t from, std::int64_t to, bool cancellable) {
        std::int64_t at = from;
        if (from < 0 || to < from) {
            restart(manager);
            at = -1;
        }
        if (cancellable)
            result.from_step = at + 1; // what the seek line reports

        for (std::int64_t k = at + 1; k <= to; ++k) {
            step(manager, k);
            ++result.steps;
            if (cancellable && k < to && !poll(k))
                return false;
        }
        return true;
    };
    if (!run(current, target, true)) {
        // The show is past where it was: replay up to there.
        result.cancelled = true;
        run(-1, back_to, false);
    }
    result.seconds = platform::wall_seconds() - started;
    return result;
}
