// The show's time in the makers' mode and the music's position with it: the
// timeline clock the scene manager reads, whether both are held, and where
// both play from. Everything that moves "now" goes through here.
#pragma once

#include "clock.h"

#include <cstdint>

class cSoundModule_sdl;

class cShowTime {
public:
    // The clock the scene manager (and the replay) read.
    cClock_manual* clock() { return &m_clock; }
    // Once the music plays: the timeline follows the wall clock from ms.
    void start(cSoundModule_sdl* music, std::int64_t ms);

    // Timeline time the next update reads.
    std::int64_t now() const { return m_clock.ms(); }
    bool held() const { return m_held; }
    // Live: moves the clock to the wall clock's time since the last anchor.
    std::int64_t tick();
    // Timeline and music stand at now.
    void hold();
    // Both go on from now.
    void play();
    // The music stops for a replay, which moves the clock on its own.
    void suspend_music();
    // After a seek: timeline and music at ms, playing unless held.
    void land(std::int64_t ms);
    // Where the music is, in milliseconds.
    int music_ms() const;

private:
    void anchor();

    cClock_manual m_clock;
    cSoundModule_sdl* m_music = nullptr;
    bool m_held = false;
    std::int64_t m_anchor_ms = 0;
    double m_anchor_wall = 0.0;
};
