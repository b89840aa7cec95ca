// The piece: "tonvik7", A minor, 125 beats per minute, 112 bars.
//
//   bars   1- 16  intro       pads fade in, bells, arpeggio, kick and bass from bar 9
//   bars  17- 32  rise        the groove; breaks at bar 31 for a two-bar build
//   bars  33- 56  drop        full groove, lead melody from bar 41
//   bars  57- 72  breakdown   no drums for eight bars, then the build back
//   bars  73- 88  peak        everything, with chord stabs and a ghost clap
//   bars  89-104  outro       the groove once more, stops after bar 104's downbeat
//   bars 105-112  coda        one last hit, then the pads fade out
//
// Bars are counted from 1 in comments and from 0 in the code.
#include "score.h"

#include "debug.h"
#include "midi_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

struct sChord {
    int m_bass;    // root in the bass register
    int m_pad[4];  // pad voicing, root left to the bass
    int m_stab[3]; // stab voicing around C5
};

const sChord kAm9 = {33, {60, 64, 67, 71}, {64, 69, 72}};
const sChord kFmaj7 = {29, {57, 60, 64, 67}, {65, 69, 72}};
const sChord kDm9 = {38, {57, 60, 64, 65}, {65, 69, 74}};
const sChord kEm7 = {28, {55, 59, 62, 64}, {64, 67, 71}};
const sChord kG6 = {31, {55, 59, 62, 67}, {62, 67, 71}};

const int kFirstBreakdownBar = 56;
const int kFirstCodaBar = 104;
const int kLastBar = 112; // first bar after the music

// The harmony under every bar: a four-bar loop of i - VI - iv - v, with its
// own progressions for the quiet half of the breakdown and the coda.
const sChord& chord_at(int bar) {
    static const sChord* const loop[4] = {&kAm9, &kFmaj7, &kDm9, &kEm7};
    static const sChord* const breakdown[8] = {&kFmaj7, &kG6, &kAm9, &kAm9,
                                               &kFmaj7, &kG6, &kEm7, &kEm7};
    static const sChord* const coda[4] = {&kAm9, &kFmaj7, &kDm9, &kAm9};
    if (bar >= kFirstBreakdownBar && bar < kFirstBreakdownBar + 8)
        return *breakdown[bar - kFirstBreakdownBar];
    if (bar >= kFirstCodaBar)
        return *coda[std::min(3, (bar - kFirstCodaBar) / 2)];
    return *loop[bar % 4];
}

// "A4" -> 69.
int pitch_of(const char* name) {
    static const int steps[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    VT_ASSERT(name[0] >= 'A' && name[0] <= 'G');
    int pitch = steps[name[0] - 'A'];
    const char* p = name + 1;
    if (*p == '#') {
        ++pitch;
        ++p;
    }
    return pitch + 12 * (std::atoi(p) + 1);
}

// The lead melody, two four-bar phrases over the loop; one bar per line as
// "pitch:sixteenths", "-" for a rest.
const char* const kMelody[8] = {
    "A4:2 C5:2 E5:3 G5:3 E5:2 D5:4", "C5:2 A4:2 C5:2 E5:6 -:4",
    "D5:2 F5:2 A5:3 G5:3 F5:2 E5:4", "D5:3 E5:3 B4:2 G4:2 B4:2 D5:4",
    "A4:2 C5:2 E5:3 G5:3 A5:2 G5:4", "E5:2 C5:2 E5:2 A5:6 -:4",
    "F5:2 E5:2 D5:3 C5:3 D5:2 F5:4", "E5:6 D5:2 B4:4 -:4",
};

int ramp(int from, int to, int i, int count) {
    return count <= 1 ? to : from + (to - from) * i / (count - 1);
}

} // namespace

const char* cScore::track_name(int track) {
    static const char* const names[TRACK_COUNT] = {"tempo", "kick", "bass",  "hats",     "stabs",
                                                   "pads",  "drop", "white", "arpeggio", "lead",
                                                   "clap",  "fx",   "bells"};
    return track >= 0 && track < TRACK_COUNT ? names[track] : "";
}

int cScore::tick_to_ms(uint32_t tick) {
    // The loader's own arithmetic, so that marker times and MIDI event times
    // agree to the millisecond.
    double seconds_per_tick = (60.0 / (60000000.0 / kTempoMicros)) / kTicksPerBeat;
    return cMidiFile::to_ms(tick * seconds_per_tick * 1000.0);
}

void cScore::note(int track, int bar, int sixteenth, int length16, int pitch, int velocity,
                  int variant) {
    VT_ASSERT(track > 0 && track < TRACK_COUNT);
    VT_ASSERT(velocity > 0 && velocity < 128 && pitch >= 0 && pitch < 128);
    sScoreNote n;
    n.m_track = track;
    n.m_tick = bar_tick(bar, sixteenth);
    n.m_length = static_cast<uint32_t>(length16 * kTicksPer16th);
    n.m_pitch = pitch;
    n.m_velocity = velocity;
    n.m_variant = variant;
    m_notes.push_back(n);
}

void cScore::marker(const std::string& keyword, int bar, int sixteenth) {
    m_markers.push_back({keyword, tick_to_ms(bar_tick(bar, sixteenth)), ""});
}

void cScore::section(const std::string& name, int first_bar, int bars, int scene,
                     const std::string& comment) {
    m_sections.push_back({name, first_bar, bars, scene, comment});
}

// ---- parts ----------------------------------------------------------------

void cScore::four_on_the_floor(int first, int count, int velocity) {
    for (int bar = first; bar < first + count; ++bar)
        for (int beat = 0; beat < 4; ++beat)
            note(TRACK_KICK, bar, beat * 4, 2, PITCH_KICK, velocity);
}

void cScore::pads(int first, int count, int velocity_from, int velocity_to) {
    for (int i = 0; i < count; ++i) {
        const sChord& chord = chord_at(first + i);
        for (int pitch : chord.m_pad)
            note(TRACK_PAD, first + i, 0, 16, pitch, ramp(velocity_from, velocity_to, i, count));
    }
}

void cScore::bass_offbeats(int first, int count) {
    for (int bar = first; bar < first + count; ++bar)
        for (int beat = 0; beat < 4; ++beat)
            note(TRACK_BASS, bar, beat * 4 + 2, 2, chord_at(bar).m_bass, 100);
}

void cScore::bass_rolling(int first, int count) {
    // Sixteenths between the kicks, with octave and fifth jumps.
    static const int pos[8] = {2, 3, 6, 7, 10, 11, 14, 15};
    static const int interval[8] = {0, 0, 12, 0, 0, 0, 12, 7};
    static const int velocity[8] = {110, 80, 100, 80, 110, 80, 100, 90};
    for (int bar = first; bar < first + count; ++bar)
        for (int i = 0; i < 8; ++i)
            note(TRACK_BASS, bar, pos[i], 1, chord_at(bar).m_bass + interval[i], velocity[i]);
}

void cScore::hats(int first, int count, bool sixteenths, bool open) {
    for (int bar = first; bar < first + count; ++bar)
        for (int s = 0; s < 16; ++s) {
            bool offbeat = s % 4 == 2;
            if (open && offbeat)
                note(TRACK_HATS, bar, s, 2, PITCH_HAT_OPEN, 90);
            else if (offbeat)
                note(TRACK_HATS, bar, s, 1, PITCH_HAT_CLOSED, 100);
            else if (sixteenths)
                note(TRACK_HATS, bar, s, 1, PITCH_HAT_CLOSED, s % 4 == 0 ? 60 : 45);
        }
}

void cScore::claps(int first, int count, bool ghost) {
    // The ghost clap a sixteenth before beat 2 makes three claps a bar, so
    // that every third one lands on beat 4.
    for (int bar = first; bar < first + count; ++bar) {
        if (ghost)
            note(TRACK_CLAP, bar, 3, 1, PITCH_CLAP, 60);
        note(TRACK_CLAP, bar, 4, 2, PITCH_CLAP, 110);
        note(TRACK_CLAP, bar, 12, 2, PITCH_CLAP, 110);
    }
}

void cScore::snare_roll(int first, int count) {
    // Quarters, then eighths in the last bar but one, sixteenths in the last
    // bar (a one-bar roll: eighths, then sixteenths), getting louder.
    int total = count * 16;
    for (int s = 0; s < total; ++s) {
        int bars_left = (total - 1 - s) / 16;
        int step = count == 1 ? (s < 8 ? 2 : 1) : (bars_left == 0 ? 1 : bars_left == 1 ? 2 : 4);
        if (s % step == 0)
            note(TRACK_CLAP, first + s / 16, s % 16, 1, PITCH_SNARE, ramp(50, 120, s, total));
    }
}

void cScore::arp(int first, int count, int velocity_from, int velocity_to) {
    static const int order[16] = {0, 1, 2, 3, 4, 3, 2, 1, 0, 2, 1, 3, 2, 4, 3, 1};
    for (int i = 0; i < count; ++i) {
        const sChord& chord = chord_at(first + i);
        int tones[5] = {chord.m_pad[0] + 12, chord.m_pad[1] + 12, chord.m_pad[2] + 12,
                        chord.m_pad[3] + 12, chord.m_pad[0] + 24};
        int velocity = ramp(velocity_from, velocity_to, i, count);
        for (int s = 0; s < 16; ++s)
            note(TRACK_ARP, first + i, s, 1, tones[order[s]], velocity);
    }
}

void cScore::stabs(int first, int count) {
    static const int pos[4] = {3, 6, 11, 14};
    for (int bar = first; bar < first + count; ++bar)
        for (int p : pos)
            for (int pitch : chord_at(bar).m_stab)
                note(TRACK_STAB, bar, p, 1, pitch, p == 3 ? 110 : 95);
}

void cScore::lead(int first, int count, int velocity) {
    for (int i = 0; i < count; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "%s", kMelody[i % 8]);
        int s = 0;
        for (char* token = std::strtok(line, " "); token; token = std::strtok(nullptr, " ")) {
            char* colon = std::strchr(token, ':');
            VT_ASSERT(colon);
            *colon = '\0';
            int length = std::atoi(colon + 1);
            if (token[0] != '-')
                note(TRACK_LEAD, first + i, s, length, pitch_of(token), velocity);
            s += length;
        }
        VT_ASSERT(s == 16);
    }
}

void cScore::bells(int first, int count) {
    for (int bar = first; bar < first + count; ++bar) {
        const sChord& chord = chord_at(bar);
        note(TRACK_BELL, bar, 0, 6, chord.m_pad[3] + 12, 90);
        note(TRACK_BELL, bar, 6, 4, chord.m_pad[1] + 12, 70);
        note(TRACK_BELL, bar, 10, 6, chord.m_pad[2] + 12, 80);
    }
}

void cScore::riser(int first, int count) {
    note(TRACK_FX, first, 0, count * 16, PITCH_RISER, 100);
    marker("technofx", first);
}

void cScore::crash(int bar) {
    note(TRACK_FX, bar, 0, 16, PITCH_CRASH, 110);
    marker("technofx2", bar);
}

// ---- sections ---------------------------------------------------------------

void cScore::write_intro() {
    section("intro", 0, 16, 3,
            "Intro: pads fade in, bells from bar 3, arpeggio and closed hats from bar 5,\n"
            "kick, bass and claps from bar 9, a snare roll and riser over bars 15-16.\n"
            "The attractor counts the beat ticks: its presets change on bars 5, 9, 13, 14,\n"
            "then on every beat of the build.");
    pads(0, 16, 30, 90);
    marker("fadein", 0);
    bells(2, 6);
    marker("sinus_in", 2);
    arp(4, 12, 20, 100);
    hats(4, 4, false, false);
    marker("hihatc", 4);
    hats(8, 8, true, false);
    four_on_the_floor(8, 8);
    bass_offbeats(8, 8);
    claps(8, 6, false);
    snare_roll(14, 2);
    marker("snare", 14);
    riser(14, 2);
}

void cScore::write_rise() {
    section("rise", 16, 16, 0,
            "Rise: the groove with open hats and a rolling bass while the sun grows.\n"
            "Bar 31 breaks: the downlifter (track 6) fades the picture to black, a\n"
            "snare roll builds, and the white burst (track 7) on the last beat washes\n"
            "it to white before the drop.");
    crash(16);
    four_on_the_floor(16, 14);
    bass_rolling(16, 14);
    hats(16, 14, true, true);
    marker("hihato", 16);
    claps(16, 14, false);
    pads(16, 16, 80, 90);
    arp(16, 14, 90, 110);
    stabs(24, 6);
    marker("lead", 24);
    note(TRACK_DROP, 30, 0, 32, 40, 110);
    marker("rumble", 30);
    snare_roll(30, 2);
    marker("snare", 30);
    riser(30, 2);
    note(TRACK_WHITE, 31, 12, 4, 60, 120);
}

void cScore::write_drop() {
    section("drop", 32, 24, 1,
            "Drop: the full groove. Eight bars of intro hold exactly 37 kicks (extra\n"
            "kicks after beat 4 of bars 34, 36, 38 and a fill in bar 40), so the 38th,\n"
            "where the sprutte camera starts changing paths, is bar 41's downbeat.\n"
            "The lead melody enters there.");
    crash(32);
    four_on_the_floor(32, 24);
    for (int bar : {33, 35, 37})
        note(TRACK_KICK, bar, 14, 1, PITCH_KICK, 90);
    note(TRACK_KICK, 39, 14, 1, PITCH_KICK, 100);
    note(TRACK_KICK, 39, 15, 1, PITCH_KICK, 110);
    bass_rolling(32, 24);
    hats(32, 24, true, true);
    claps(32, 23, false);
    snare_roll(55, 1);
    pads(32, 24, 85, 85);
    stabs(32, 8);
    arp(40, 16, 80, 110);
    lead(40, 16, 100);
    marker("melody", 40);
}

void cScore::write_breakdown() {
    section("breakdown", 56, 16, 4,
            "Breakdown: no drums, long bass notes, pads and bells; the bass wobbles in\n"
            "bars 61-64. The kick returns at bar 65 (the scrub flashes again) under a\n"
            "snare roll, wobble and riser that build into the peak.");
    crash(56);
    pads(56, 16, 100, 90);
    bells(56, 8);
    marker("sinus_in", 56);
    for (int bar = 56; bar < 60; ++bar)
        note(TRACK_BASS, bar, 0, 16, chord_at(bar).m_bass, 90);
    for (int bar = 60; bar < 64; ++bar) {
        note(TRACK_BASS, bar, 0, 8, chord_at(bar).m_bass, 100, VARIANT_WOBBLE);
        note(TRACK_BASS, bar, 8, 8, chord_at(bar).m_bass + 12, 100, VARIANT_WOBBLE);
    }
    marker("bwab1", 60);
    lead(60, 4, 70);
    four_on_the_floor(64, 8, 115);
    bass_offbeats(64, 6);
    for (int bar = 70; bar < 72; ++bar)
        note(TRACK_BASS, bar, 0, 16, chord_at(bar).m_bass, 110, VARIANT_WOBBLE);
    marker("bwab2", 70);
    hats(64, 8, true, false);
    arp(64, 8, 40, 110);
    snare_roll(64, 8);
    marker("snare", 64);
    riser(68, 4);
}

void cScore::write_peak() {
    section("peak", 72, 16, 5,
            "Peak: everything at once. The stabs (track 4) light the credits room;\n"
            "with the ghost clap every third clap (track 10) is beat 4 of a bar, so\n"
            "the credits flash once per bar.");
    crash(72);
    four_on_the_floor(72, 16);
    bass_rolling(72, 16);
    hats(72, 16, true, true);
    claps(72, 15, true);
    snare_roll(87, 1);
    pads(72, 16, 90, 90);
    stabs(72, 16);
    marker("lead", 72);
    arp(72, 16, 110, 110);
    lead(72, 16, 105);
    marker("melody", 72);
}

void cScore::write_outro() {
    section("outro", 88, 16, 2,
            "Outro: the groove without the lead; the sun credits run their paths\n"
            "backwards from the 24th kick (bar 94). Bar 104 stops after its downbeat.");
    crash(88);
    four_on_the_floor(88, 15);
    note(TRACK_KICK, 103, 0, 2, PITCH_KICK, 120);
    bass_rolling(88, 15);
    note(TRACK_BASS, 103, 0, 2, chord_at(103).m_bass, 110);
    hats(88, 15, true, true);
    claps(88, 15, false);
    pads(88, 16, 90, 70);
    stabs(88, 8);
    arp(88, 16, 110, 50);
    bells(96, 8);
    marker("sinus_in", 96);
}

void cScore::write_coda() {
    section("coda", 104, 8, 6,
            "Coda: one last kick and crash on the logo, then the pads fade out.");
    note(TRACK_KICK, 104, 0, 2, PITCH_KICK, 127);
    crash(104);
    note(TRACK_BASS, 104, 0, 16, chord_at(104).m_bass, 100);
    for (int i = 0; i < 4; ++i) {
        const sChord& chord = chord_at(104 + 2 * i);
        for (int pitch : chord.m_pad)
            note(TRACK_PAD, 104 + 2 * i, 0, 32, pitch, 90 - 15 * i);
    }
    bells(104, 2);
}

void cScore::write_timeline() {
    std::stable_sort(m_notes.begin(), m_notes.end(),
                     [](const sScoreNote& a, const sScoreNote& b) { return a.m_tick < b.m_tick; });
    // A light flash on every bar line that the kick plays.
    for (const sScoreNote& n : m_notes)
        if (n.m_track == TRACK_KICK && n.m_tick % kTicksPerBar == 0)
            m_markers.push_back({"beat", tick_to_ms(n.m_tick), ""});
    std::stable_sort(
        m_markers.begin(), m_markers.end(),
        [](const sScoreMarker& a, const sScoreMarker& b) { return a.m_time_ms < b.m_time_ms; });

    // Each section opens with its comment and its scene switch. The switch
    // comes 1 ms before the bar line so that the section's first notes already
    // reach the new scene; the first scene starts 1 ms after the beat tick at
    // 0 ms, so that the attractor counts from the tick of beat 2 and its
    // preset changes land on bar lines.
    std::vector<sScoreMarker> timeline;
    std::size_t next = 0;
    for (const sScoreSection& s : m_sections) {
        int start = tick_to_ms(bar_tick(s.m_first_bar));
        int end = tick_to_ms(bar_tick(s.m_first_bar + s.m_bars));
        int switch_ms = s.m_first_bar == 0 ? 1 : start - 1;
        char heading[128];
        std::snprintf(heading, sizeof heading, "bars %d-%d, scene %d:", s.m_first_bar + 1,
                      s.m_first_bar + s.m_bars, s.m_scene);
        timeline.push_back({"#", switch_ms, ""});
        timeline.push_back({"#", switch_ms, heading});
        std::size_t from = 0;
        while (from <= s.m_comment.size()) {
            std::size_t to = s.m_comment.find('\n', from);
            if (to == std::string::npos)
                to = s.m_comment.size();
            timeline.push_back({"#", switch_ms, s.m_comment.substr(from, to - from)});
            from = to + 1;
        }
        char keyword[8];
        std::snprintf(keyword, sizeof keyword, "s%02d", s.m_scene);
        timeline.push_back({keyword, switch_ms, ""});
        while (next < m_markers.size() && m_markers[next].m_time_ms < end - 1)
            timeline.push_back(m_markers[next++]);
    }
    VT_ASSERT(next == m_markers.size());

    int64_t music_end = static_cast<int64_t>(tick_to_seconds(bar_tick(kLastBar)) * kSampleRate);
    m_audio_frames = music_end + kSampleRate * 5 / 2; // reverb tail
    int quit_ms = static_cast<int>(m_audio_frames * 1000 / kSampleRate) + 500;
    timeline.push_back({"#", quit_ms, ""});
    timeline.push_back({"#", quit_ms, "The show ends half a second after the music."});
    timeline.push_back({"quit", quit_ms, ""});
    m_markers = timeline;
}

cScore cScore::compose() {
    cScore score;
    score.write_intro();
    score.write_rise();
    score.write_drop();
    score.write_breakdown();
    score.write_peak();
    score.write_outro();
    score.write_coda();
    score.write_timeline();
    return score;
}
