#include "smf_writer.h"

#include "score.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

struct sTimed {
    uint32_t m_tick;
    int m_order; // at equal ticks: note-offs (0) before note-ons (1)
    uint8_t m_bytes[3];
};

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void put_vlq(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<uint8_t>(v & 0x7F);
        v >>= 7;
    } while (v);
    while (n-- > 0)
        out.push_back(static_cast<uint8_t>(groups[n] | (n ? 0x80 : 0)));
}

void put_name(std::vector<uint8_t>& body, const char* name) {
    std::size_t length = std::strlen(name);
    body.insert(body.end(), {0x00, 0xFF, 0x03, static_cast<uint8_t>(length)});
    body.insert(body.end(), name, name + length);
}

void put_chunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& body) {
    out.insert(out.end(), id, id + 4);
    put_u32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

// The tempo track; its end marks the end of the music, so that the loader's
// beat ticks run to the last bar.
std::vector<uint8_t> tempo_track(uint32_t end_tick) {
    std::vector<uint8_t> body;
    put_name(body, cScore::track_name(0));
    body.insert(body.end(), {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08}); // 4/4
    body.insert(body.end(),
                {0x00, 0xFF, 0x51, 0x03, static_cast<uint8_t>(kTempoMicros >> 16),
                 static_cast<uint8_t>(kTempoMicros >> 8), static_cast<uint8_t>(kTempoMicros)});
    put_vlq(body, end_tick);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    return body;
}

// One part's track: its notes as note-on/note-off pairs on the given channel,
// after an optional program change.
std::vector<uint8_t> part_track(const cScore& score, int track, int channel, int program) {
    std::vector<sTimed> events;
    for (const sScoreNote& n : score.notes()) {
        if (n.m_track != track)
            continue;
        uint8_t pitch = static_cast<uint8_t>(n.m_pitch);
        events.push_back(
            {n.m_tick,
             1,
             {static_cast<uint8_t>(0x90 | channel), pitch, static_cast<uint8_t>(n.m_velocity)}});
        events.push_back(
            {n.m_tick + n.m_length, 0, {static_cast<uint8_t>(0x80 | channel), pitch, 0x40}});
    }
    std::stable_sort(events.begin(), events.end(), [](const sTimed& a, const sTimed& b) {
        return a.m_tick != b.m_tick ? a.m_tick < b.m_tick : a.m_order < b.m_order;
    });

    std::vector<uint8_t> body;
    put_name(body, cScore::track_name(track));
    if (program >= 0)
        body.insert(body.end(),
                    {0x00, static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(program)});
    uint32_t tick = 0;
    for (const sTimed& e : events) {
        put_vlq(body, e.m_tick - tick);
        tick = e.m_tick;
        body.insert(body.end(), e.m_bytes, e.m_bytes + 3);
    }
    body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
    return body;
}

uint32_t end_tick(const cScore& score) {
    uint32_t end = 0;
    for (const sScoreNote& n : score.notes())
        end = std::max(end, n.m_tick + n.m_length);
    return end;
}

std::vector<uint8_t> header() {
    std::vector<uint8_t> out;
    std::vector<uint8_t> body = {
        0x00, 0x01, 0x00, TRACK_COUNT, kTicksPerBeat >> 8, kTicksPerBeat & 0xFF};
    put_chunk(out, "MThd", body);
    return out;
}

} // namespace

std::vector<uint8_t> write_sync_midi(const cScore& score) {
    std::vector<uint8_t> out = header();
    put_chunk(out, "MTrk", tempo_track(end_tick(score)));
    for (int track = 1; track < TRACK_COUNT; ++track)
        put_chunk(out, "MTrk", part_track(score, track, 0, -1));
    return out;
}

std::vector<uint8_t> write_render_midi(const cScore& score) {
    // General MIDI programs (0-based) that come closest to our own patches.
    static const int programs[TRACK_COUNT] = {-1, -1, 38, -1, 81, 89, 97, 122, 80, 81, -1, -1, 10};
    std::vector<uint8_t> out = header();
    put_chunk(out, "MTrk", tempo_track(end_tick(score)));
    int channel = 0;
    for (int track = 1; track < TRACK_COUNT; ++track) {
        bool drums = programs[track] < 0;
        if (!drums && channel == 9)
            ++channel;
        put_chunk(out, "MTrk", part_track(score, track, drums ? 9 : channel, programs[track]));
        if (!drums)
            ++channel;
    }
    return out;
}
