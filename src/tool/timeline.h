// The makers' timeline as numbers: where the scene switches are, where the
// timeline ends, and where each key of the makers' mode goes from a time.
// Pure functions of their arguments, so that tests can table them.
#pragma once

#include <cstdint>
#include <vector>

class cEventQueue;

struct sTimeline {
    std::vector<int> switches; // times of the scene-switch markers, ascending
    int end_ms = 0;            // the "quit" marker, or without one the music's end
};

// A scene's loop: the timeline goes back to target once it passes to.
struct sLoopBounds {
    int from_ms = 0;   // the looped scene's switch (0 before the first)
    int to_ms = 0;     // the next switch, or the end
    int target_ms = 0; // the first step at which the looped scene is current
};

// The switches and the end of the queue's events (none: the music's end).
sTimeline read_timeline(const cEventQueue* queue, int music_ms);
// The first step time after a switch at ms: where the new scene is current.
std::int64_t landing_ms(int switch_ms);
// ms within [0, end].
std::int64_t clamp_to_timeline(const sTimeline& timeline, std::int64_t ms);
// Page Down: the landing of the next switch after now; -1 when none is left.
std::int64_t next_scene_ms(const sTimeline& timeline, std::int64_t now);
// Page Up: the start of the current scene, or within its first second (as
// media players do) the start of the one before; 0 before the first switch.
std::int64_t previous_scene_ms(const sTimeline& timeline, std::int64_t now);
// The step a seek to ms lands on: the first at or after it, but none past
// the end.
std::int64_t landing_step(const sTimeline& timeline, std::int64_t ms);
// ',' and '.': the last step before now, and the first after it.
std::int64_t previous_frame_step(std::int64_t now);
std::int64_t next_frame_step(const sTimeline& timeline, std::int64_t now);
// The loop around the scene current at now.
sLoopBounds loop_bounds(const sTimeline& timeline, std::int64_t now);
