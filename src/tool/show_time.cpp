#include "tool/show_time.h"

#include "platform/process.h"
#include "sound_module_sdl.h"

void cShowTime::start(cSoundModule_sdl* music, std::int64_t ms) {
    m_music = music;
    m_clock.set_ms(ms);
    anchor();
}

void cShowTime::anchor() {
    m_anchor_ms = now();
    m_anchor_wall = platform::wall_seconds();
}

std::int64_t cShowTime::tick() {
    if (!m_held)
        m_clock.set_ms(m_anchor_ms +
                       std::int64_t((platform::wall_seconds() - m_anchor_wall) * 1000.0));
    return now();
}

void cShowTime::hold() {
    if (m_held)
        return;
    m_held = true;
    // The music stands where the picture does (a slow frame may have let it
    // run ahead).
    if (m_music) {
        m_music->set_paused(true);
        m_music->seek_ms(int(now()));
    }
}

void cShowTime::play() {
    if (!m_held)
        return;
    m_held = false;
    anchor();
    if (m_music) {
        m_music->seek_ms(int(now()));
        m_music->set_paused(false);
    }
}

void cShowTime::suspend_music() {
    if (m_music)
        m_music->set_paused(true);
}

void cShowTime::land(std::int64_t ms) {
    m_clock.set_ms(ms);
    anchor();
    if (m_music) {
        m_music->seek_ms(int(ms));
        if (!m_held)
            m_music->set_paused(false);
    }
}

int cShowTime::music_ms() const {
    return m_music ? m_music->position_ms() : 0;
}
