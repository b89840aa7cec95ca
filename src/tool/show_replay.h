// Replays the show from its start in fixed steps of 1/60 s, without showing
// the frames. Several effects build their state frame by frame (the scrub
// grows, particles live, the sprutte's bends travel), so the picture at a
// time is only right when every frame before it was run; the makers' mode
// seeks with this.
#pragma once

#include "clock.h"

#include <cstdint>
#include <functional>

class cSceneManager;

// What a seek did: whether it was cancelled (the show is then back where it
// was), the step it replayed from, how many steps it ran, and how long it took.
struct sSeekResult {
    bool cancelled = false;
    std::int64_t from_step = 0;
    std::int64_t steps = 0;
    double seconds = 0.0;
};

class cShowReplay {
public:
    static constexpr int kStepsPerSecond = 60;

    // Timeline time of step k: k x 1000 / 60 ms, rounded down (as a capture
    // at 60 frames per second).
    static std::int64_t step_time_ms(std::int64_t step) { return step * 1000 / kStepsPerSecond; }
    // The first step whose time is at or after ms.
    static std::int64_t first_step_at(std::int64_t ms) {
        return ms <= 0 ? 0 : (ms * kStepsPerSecond + 999) / 1000;
    }

    // The clock must be the scene manager's.
    explicit cShowReplay(cClock_manual* clock) : m_clock(clock) {}

    // Remembers what a fresh show starts from; call before the scenes exist.
    void remember_start();
    // Puts the show back at its start: the scenes created and loaded anew,
    // no scene current, the queue rewound, the timeline and the clock at 0,
    // and the process-wide state (random generator, first-call times, light
    // control, glow settings) as a fresh process has it.
    void restart(cSceneManager* manager);
    // Runs step k: the timeline moves to its time, due events are handed
    // out, the current scene updates. Nothing is drawn: the scenes move
    // their state on in update, so the frame drawn after the last step shows
    // what a run that drew every step shows.
    void step(cSceneManager* manager, std::int64_t step);
    // Brings the show to step target, from step current (-1: the present is
    // no step, as in live play). poll is called between steps with the step
    // reached; when it returns false the seek is cancelled and the show is put
    // back at current (at -1: at the first step at or after the time the show
    // was at).
    sSeekResult seek(cSceneManager* manager, std::int64_t current, std::int64_t target,
                     const std::function<bool(std::int64_t at)>& poll);

private:
    cClock_manual* m_clock;
    std::uint32_t m_random_state = 1;
};
