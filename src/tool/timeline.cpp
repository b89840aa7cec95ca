#include "tool/timeline.h"

#include "event_queue.h"
#include "tool/show_replay.h"

#include <algorithm>

namespace {
const std::int64_t kPreviousSceneWithin = 1000; // ms into a scene where Page Up goes further back
} // namespace

sTimeline read_timeline(const cEventQueue* queue, int music_ms) {
    sTimeline timeline;
    timeline.end_ms = music_ms;
    bool quit = false;
    for (std::size_t i = 0; queue && i < queue->size(); ++i) {
        const cEvent* event = queue->at(i);
        if (event->m_type >= EV_SCENE_FIRST && event->m_type <= EV_SCENE_LAST)
            timeline.switches.push_back(event->m_time);
        // The "quit" marker would end the program; the makers' timeline
        // stops just before it instead.
        if (event->m_type == EV_QUIT && !quit) {
            timeline.end_ms = std::max(0, event->m_time);
            quit = true;
        }
    }
    std::sort(timeline.switches.begin(), timeline.switches.end());
    return timeline;
}

std::int64_t landing_ms(int switch_ms) {
    return cShowReplay::step_time_ms(cShowReplay::first_step_at(std::int64_t(switch_ms) + 1));
}

std::int64_t clamp_to_timeline(const sTimeline& timeline, std::int64_t ms) {
    return std::max<std::int64_t>(0, std::min<std::int64_t>(ms, timeline.end_ms));
}

std::int64_t next_scene_ms(const sTimeline& timeline, std::int64_t now) {
    for (int s : timeline.switches)
        if (landing_ms(s) > now && landing_ms(s) <= timeline.end_ms)
            return landing_ms(s);
    return -1;
}

std::int64_t previous_scene_ms(const sTimeline& timeline, std::int64_t now) {
    // The landings at or before now: the last is the current scene's start.
    std::int64_t current = 0, before = 0;
    bool in_scene = false;
    for (int s : timeline.switches)
        if (landing_ms(s) <= now) {
            before = in_scene ? current : 0;
            current = landing_ms(s);
            in_scene = true;
        }
    if (!in_scene)
        return 0;
    return now - current < kPreviousSceneWithin ? before : current;
}

std::int64_t landing_step(const sTimeline& timeline, std::int64_t ms) {
    const std::int64_t clamped = clamp_to_timeline(timeline, ms);
    const std::int64_t step = cShowReplay::first_step_at(clamped);
    return cShowReplay::step_time_ms(step) > timeline.end_ms ? std::max<std::int64_t>(0, step - 1)
                                                             : step;
}

std::int64_t previous_frame_step(std::int64_t now) {
    return std::max<std::int64_t>(0, cShowReplay::first_step_at(now) - 1);
}

std::int64_t next_frame_step(const sTimeline& timeline, std::int64_t now) {
    return landing_step(timeline, cShowReplay::step_time_ms(cShowReplay::first_step_at(now + 1)));
}

sLoopBounds loop_bounds(const sTimeline& timeline, std::int64_t now) {
    // The current scene became current at the last switch before now; the
    // loop ends where the next one would take over.
    sLoopBounds bounds;
    bounds.to_ms = timeline.end_ms;
    for (int s : timeline.switches) {
        if (s < now) {
            bounds.from_ms = s;
            bounds.target_ms = int(landing_ms(s));
        } else {
            bounds.to_ms = s;
            break;
        }
    }
    return bounds;
}
