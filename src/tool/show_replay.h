// Replays the show in fixed steps of 1/60 s, without showing the frames.
// Several effects build their state frame by frame (the scrub grows,
// particles live, the sprutte's bends travel), so the picture at a time is
// only right when every frame before it was run; the makers' mode seeks with
// this. As the replay passes, it keeps snapshots of the show's whole state
// (every few seconds and at every scene switch), so that a seek replays at
// most a few seconds from the nearest one before its target.
#pragma once

#include "clock.h"
#include "scene_manager.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>

struct sSeekResult {
    bool cancelled = false;
    std::int64_t from_step = 0; // the replay went on from the state after this step (-1: the start)
    std::int64_t steps = 0;     // steps replayed
    double seconds = 0.0;
};

class cShowReplay {
public:
    static constexpr int kStepsPerSecond = 60;
    // A snapshot every this many steps (4 s), besides those at the switches.
    static constexpr std::int64_t kSnapshotEvery = 240;

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
    // what a run that drew every step shows. The state after the step is
    // kept when it is a snapshot's step and none is kept for it yet; the
    // caller makes sure that every step before k ran, in order.
    void step(cSceneManager* manager, std::int64_t step);

    // Moves the show to step `target`. `current` is the step the show is at
    // now (-1: not on the step grid); the replay goes on from there when it
    // is at or before the target and no farther than the nearest snapshot,
    // else it restores the nearest snapshot at or before the target (or
    // restarts). `poll` runs between steps with the step reached; when it
    // returns false the seek is cancelled and the show is put back where it
    // was before the seek (exactly that state). Prints one line.
    sSeekResult seek(cSceneManager* manager, std::int64_t current, std::int64_t target,
                     const std::function<bool(std::int64_t at)>& poll);

    // Drops every snapshot (the timeline changed).
    void forget();
    std::size_t snapshot_count() const { return m_snapshots.size(); }
    // Memory of the snapshots in bytes, shared parts counted once.
    std::size_t snapshot_bytes() const;

private:
    cClock_manual* m_clock;
    std::uint32_t m_random_state = 1;
    std::map<std::int64_t, cSceneManager::sSnapshot> m_snapshots; // by step
};
