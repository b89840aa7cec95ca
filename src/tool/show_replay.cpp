#include "tool/show_replay.h"

#include "math/random.h"
#include "platform/process.h"
#include "show_scenes.h"
#include "timecode.h"

#include <iomanip>
#include <iostream>
#include <unordered_set>

void cShowReplay::remember_start() {
    m_random_state = vt_rand_state();
}

void cShowReplay::restart(cSceneManager* manager) {
    // Scenes draw random numbers and set process-wide values while they are
    // constructed and loaded, so these go back first.
    vt_srand(m_random_state);
    reset_show_scene_state();
    m_clock->set_ms(0);
    manager->rebuild(add_show_scenes);
}

void cShowReplay::step(cSceneManager* manager, std::int64_t step) {
    m_clock->set_ms(step_time_ms(step));
    const bool switched = manager->update();
    if ((switched || step % kSnapshotEvery == 0) && !m_snapshots.count(step))
        m_snapshots.emplace(step, manager->snapshot());
}

sSeekResult cShowReplay::seek(cSceneManager* manager, std::int64_t current, std::int64_t target,
                              const std::function<bool(std::int64_t at)>& poll) {
    const double started = platform::wall_seconds();
    // What a cancelled seek goes back to.
    const cSceneManager::sSnapshot before = manager->snapshot();
    const std::int64_t before_clock = m_clock->counter();

    auto nearest = m_snapshots.upper_bound(target);
    const bool have_snapshot = nearest != m_snapshots.begin();
    if (have_snapshot)
        --nearest;
    sSeekResult result;
    const char* from = "the present";
    if (current >= 0 && current <= target && (!have_snapshot || nearest->first <= current)) {
        result.from_step = current;
    } else if (have_snapshot) {
        manager->restore(nearest->second);
        m_clock->set_ms(step_time_ms(nearest->first));
        result.from_step = nearest->first;
        from = "a snapshot";
    } else {
        restart(manager);
        result.from_step = -1;
        from = "the start";
    }
    for (std::int64_t k = result.from_step + 1; k <= target; ++k) {
        step(manager, k);
        ++result.steps;
        if (poll && !poll(k)) {
            manager->restore(before);
            m_clock->set_ms(before_clock);
            result.cancelled = true;
            break;
        }
    }
    result.seconds = platform::wall_seconds() - started;
    std::cerr << "# tool: seek to " << format_timecode(step_time_ms(target));
    if (result.cancelled)
        std::cerr << " cancelled";
    std::cerr << ", from " << from;
    if (result.from_step >= 0)
        std::cerr << " at " << format_timecode(step_time_ms(result.from_step));
    std::cerr << ", " << result.steps << " steps in " << std::fixed << std::setprecision(2)
              << result.seconds << " s; " << m_snapshots.size() << " snapshots, "
              << std::setprecision(1) << double(snapshot_bytes()) / (1024.0 * 1024.0) << " MiB"
              << std::defaultfloat << std::endl;
    return result;
}

void cShowReplay::forget() {
    m_snapshots.clear();
}

std::size_t cShowReplay::snapshot_bytes() const {
    std::unordered_set<const void*> counted;
    std::size_t bytes = 0;
    for (const auto& kept : m_snapshots) {
        bytes += sizeof(kept.second) + kept.second.scenes.size() * sizeof(void*);
        for (const auto& scene : kept.second.scenes)
            if (scene && counted.insert(scene.get()).second)
                bytes += scene->bytes(&counted);
    }
    return bytes;
}
