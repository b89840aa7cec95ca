#include "event_queue.h"
#include "midi_event.h"
#include "midi_file.h"
#include "midi_loader.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {
// ---- Building MIDI images byte by byte ---------------------------------

std::string be32(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string be16(uint16_t v) {
    return {char(v >> 8), char(v)};
}

std::string vlq(uint32_t v) {
    std::string bytes(1, char(v & 0x7F));
    while (v >>= 7)
        bytes.insert(bytes.begin(), char(0x80 | (v & 0x7F)));
    return bytes;
}

std::string header(int format, int num_tracks, int division) {
    return "MThd" + be32(6) + be16(uint16_t(format)) + be16(uint16_t(num_tracks)) +
           be16(uint16_t(division));
}

std::string chunk(const std::string& body) {
    return "MTrk" + be32(uint32_t(body.size())) + body;
}

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += char(v);
    return s;
}

// Delta time followed by the message bytes.
std::string ev(uint32_t delta, std::initializer_list<int> message) {
    return vlq(delta) + bytes(message);
}

std::string tempo(uint32_t delta, uint32_t us) {
    return ev(delta, {0xFF, 0x51, 3, int(us >> 16) & 0xFF, int(us >> 8) & 0xFF, int(us) & 0xFF});
}

std::string end_of_track(uint32_t delta = 0) {
    return ev(delta, {0xFF, 0x2F, 0});
}

// ---- Decoding -----------------------------------------------------------

using sQueued = std::tuple<int, int, int, int, int>; // time, kind, track, data1, data2

struct sDecoded {
    bool ok = false;
    cMidiFile midi;
    std::string warnings;
    std::vector<sQueued> events; // queue order, before sorting
    std::vector<int> beats;
};

// Sorts a queued event into MIDI events and beat ticks; anything else is a fault.
void collect(const cEvent* e, std::vector<sQueued>* events, std::vector<int>* beats) {
    if (auto* m = dynamic_cast<const iMidiEvent*>(e)) {
        EXPECT_EQ(e->m_type, EV_MIDI);
        events->emplace_back(e->m_time, m->m_kind, m->m_track, m->m_data1, m->m_data2);
    } else if (e->m_type == EV_MIDI_BEAT) {
        beats->push_back(e->m_time);
    } else {
        ADD_FAILURE() << "unexpected event type " << e->m_type;
    }
}

// The image goes into a buffer of exactly its size so that the sanitizer
// build catches any read past its end.
void decode(const std::string& image, sDecoded& result,
            int max_beat_ticks = cMidiFile::MAX_BEAT_TICKS) {
    std::vector<uint8_t> buffer(image.begin(), image.end());
    std::ostringstream out, warn;
    result.ok = result.midi.parse(buffer.data(), buffer.size(), out, warn);
    if (!result.ok)
        return;
    cEventQueue queue;
    result.midi.add_events(queue, warn, max_beat_ticks);
    result.warnings = warn.str();
    for (std::size_t i = 0; i < queue.size(); ++i)
        collect(queue.at(i), &result.events, &result.beats);
}

std::vector<int> every(int step, int last) {
    std::vector<int> times;
    for (int t = 0; t <= last; t += step)
        times.push_back(t);
    return times;
}
} // namespace

// ---- Timing -------------------------------------------------------------

TEST(MidiTiming, TempoSetsTickLengthBeatPeriodAndBeatTicks) {
    const std::string on = ev(100, {0x90, 60, 1});
    const struct {
        double seconds_per_tick;
        std::vector<int> times, beats;
        std::string image;
    } cases[] = {
        // Default tempo: tick 960 at 1 s, a beat every 500 ms up to the last event inclusive.
        {0.5 / 480, {1000}, every(500, 1000), header(0, 1, 480) + chunk(ev(960, {0x90, 1, 1}))},
        {0.5 / 480,
         {104},
         every(500, 10000),
         header(0, 2, 480) + chunk(on) + chunk(end_of_track(9600))},
        {0.00125,
         {125, 250},
         every(600, 600),
         header(0, 1, 480) + chunk(tempo(0, 600000) + on + on)},
        // The last tempo read converts all tracks, those before it too.
        {0.0025, {250}, every(250, 250), header(1, 2, 100) + chunk(on) + chunk(tempo(0, 250000))}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds_per_tick);
        sDecoded d;
        decode(c.image, d);
        ASSERT_TRUE(d.ok);
        EXPECT_DOUBLE_EQ(d.midi.seconds_per_tick(), c.seconds_per_tick);
        std::vector<int> times;
        for (const sQueued& e : d.events)
            times.push_back(std::get<0>(e));
        EXPECT_EQ(times, c.times);
        EXPECT_EQ(d.beats, c.beats);
    }
}

TEST(MidiTiming, TinyTempoCannotFloodTheQueueWithBeatTicks) {
    sDecoded d;
    decode(header(0, 1, 1) + chunk(tempo(0, 1) + end_of_track(0x0FFFFFFF)), d, 5000);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.beats.size(), 5000u);
    EXPECT_NE(d.warnings.find("# warning, beat ticks stopped"), std::string::npos);
}

TEST(MidiTiming, MillisecondConversionSaturates) {
    const std::pair<double, int> cases[] = {
        {2.9, 2},          {-2.9, -2},          {1e300, INT_MAX},
        {-1e300, INT_MIN}, {HUGE_VAL, INT_MAX}, {std::nan(""), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(cMidiFile::to_ms(c.first), c.second) << c.first;
}

// ---- Which messages become events ---------------------------------------

TEST(MidiEvents, OnlyChannelOneNotesAndControllersAreQueuedWithRunningStatus) {
    const struct {
        const char* what;
        std::string track;
        std::size_t records;
        std::vector<sQueued> events;
    } cases[] = {
        // Note on, velocity 0, channel 2, note off, controller, channel 2, key
        // pressure, pitch bend, program change and channel pressure (one byte).
        {"message kinds",
         ev(0, {0x90, 60, 100}) + ev(0, {0x90, 61, 0}) + ev(0, {0x91, 62, 100}) +
             ev(0, {0x80, 60, 64}) + ev(0, {0xB0, 7, 99}) + ev(0, {0xB1, 7, 98}) +
             ev(0, {0xA0, 60, 5}) + ev(0, {0xE0, 0, 64}) + ev(0, {0xC0, 5}) + ev(0, {0xD0, 9}) +
             ev(480, {0x90, 70, 1}) + end_of_track(),
         11,
         {{0, 1, 0, 60, 100}, {0, 2, 0, 60, 64}, {0, 3, 0, 7, 99}, {500, 1, 0, 70, 1}}},
        {"running status, also after a one-byte message",
         ev(0, {0x90, 60, 100}) + ev(480, {62, 90}) + ev(480, {64, 0}) + ev(0, {0xC0, 1}) +
             ev(0, {2}) + ev(0, {0x80, 60, 0}) + ev(0, {62, 0}),
         7,
         {{0, 1, 0, 60, 100}, {500, 1, 0, 62, 90}, {1000, 2, 0, 60, 0}, {1000, 2, 0, 62, 0}}},
        // The sysex body holds bytes that would decode as a note on.
        {"system exclusive skipped by its length",
         ev(0, {0xF0, 4, 0x90, 60, 100, 0xF7}) + ev(0, {0xF7, 2, 0x90, 61}) + ev(0, {0xF8}) +
             ev(0, {0x90, 62, 1}),
         1,
         {{0, 1, 0, 62, 1}}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sDecoded d;
        decode(header(0, 1, 480) + chunk(c.track), d);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.midi.tracks()[0].m_events.size(), c.records);
        EXPECT_EQ(d.events, c.events);
    }
}

// ---- Errors and damaged files: cut short, never read outside the image ---

TEST(MidiErrors, FatalConditionsComeBackToTheCaller) {
    const std::string bad = "This is not a valid MIDI file!", smpte = "Illegal SMPTE frame code";
    const struct {
        std::string image;
        eMidiError kind;
        std::string text;
    } cases[] = {{"", eMidiError::FATAL, bad},
                 {"MThd" + be32(6) + be16(0), eMidiError::FATAL, bad},
                 {header(0, 1, 0xE928), eMidiError::FATAL, smpte}, // -23
                 {header(1, 3, 96) + chunk("") + "MTrx" + be32(0), eMidiError::FATAL,
                  "Track 2/3 is invalid!"},
                 {header(0, 1, 96) + chunk(ev(0, {0xFF, 0x51, 4, 0, 0, 0, 0})), eMidiError::FATAL,
                  "Tempo of length 4, not 3"},
                 {header(0, 1, 96) + chunk(ev(0, {0xFF, 0x58, 5, 4, 2, 24, 8, 0})),
                  eMidiError::FATAL, "Time signature of length 5, not 4"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        sDecoded d;
        decode(c.image, d);
        EXPECT_FALSE(d.ok);
        EXPECT_EQ(d.midi.error(), c.kind);
        EXPECT_EQ(d.midi.error_text(), c.text);
    }
}

TEST(MidiDamaged, DamagedTracksStopAtTheDamageAndKeepWhatCameBefore) {
    const struct {
        const char* what;
        std::string image;
        std::size_t tracks, events;
        const char* warning;
    } cases[] = {
        {"chunk length past the end",
         header(0, 1, 480) + "MTrk" + be32(1000) + ev(0, {0x90, 60, 1}) + ev(480, {0x90, 61, 1}), 1,
         2, ""},
        // A length near 4 GiB must not wrap the end pointer around.
        {"chunk length near 4 GiB",
         header(0, 2, 480) + "MTrk" + be32(0xFFFFFFFF) + ev(0, {0x90, 60, 1}), 1, 1, ""},
        // The text claims 100 bytes; the second track is still read from its own chunk.
        {"meta length past the track",
         header(1, 2, 480) + chunk(ev(0, {0x90, 60, 1}) + ev(10, {0xFF, 0x01, 100, 'a'})) +
             chunk(ev(0, {0x90, 61, 1})),
         2, 2, "# warning, track 1 ends early at tick 0 (cut off) in cMidiLoader::load\n"},
        // Skipping one byte would read the velocity 100 as a delta time.
        {"data byte without any status",
         header(1, 2, 480) + chunk(ev(0, {60, 100, 0x90, 61, 1})) + chunk(ev(5, {0x90, 62, 1})), 2,
         1, "(a data byte where a status byte is due)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sDecoded d;
        decode(c.image, d);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.midi.tracks().size(), c.tracks);
        EXPECT_EQ(d.events.size(), c.events);
        EXPECT_NE(d.warnings.find(c.warning), std::string::npos) << d.warnings;
    }
    // Tempo, sysex, channel data, a length or delta time cut inside its
    // variable-length quantity.
    for (const std::string& cut :
         {ev(0, {0xFF, 0x51, 3, 7}), ev(0, {0xF0, 50, 1}), ev(0, {0x90, 60}),
          ev(0, {0xFF, 0x01, 0x81}), bytes({0x81, 0x80})}) {
        sDecoded d;
        decode(header(0, 1, 480) + chunk(ev(0, {0x90, 59, 1}) + cut), d);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.midi.tracks()[0].m_events.size(), 1u);
        EXPECT_NE(d.warnings.find("(cut off)"), std::string::npos);
    }
}

TEST(MidiDamaged, EveryPrefixOfAValidFileDecodesOrFailsCleanly) {
    std::string image =
        header(1, 2, 480) +
        chunk(ev(0, {0xFF, 0x03, 2, 't', 'n'}) + tempo(0, 500000) +
              ev(0, {0xFF, 0x58, 4, 4, 2, 24, 8}) + ev(0, {0xF0, 3, 1, 2, 0xF7}) + end_of_track()) +
        chunk(ev(0, {0x90, 60, 100}) + ev(1000, {62, 90}) + ev(200, {0xB0, 7, 1}) +
              ev(0x3FFF, {0xC0, 3}) + end_of_track(5));
    for (std::size_t n = 0; n <= image.size(); ++n) {
        sDecoded d;
        decode(image.substr(0, n), d);
        if (n < 14)
            EXPECT_EQ(d.midi.error_text(), "This is not a valid MIDI file!");
        else
            EXPECT_TRUE(d.ok) << "prefix of " << n << " bytes";
        if (n == image.size()) {
            EXPECT_EQ(d.warnings, "") << "the whole file is not damaged";
        }
    }
}

// ---- The loader and the tool ---------------------------------------------

TEST(MidiLoader, MissingFileOrFolderAddsNothing) {
    cEventQueue queue;
    queue.add(new cEvent(3, 42000));
    const std::string folder = make_temp_dir("midi_folder"); // opens but cannot be read
    testing::internal::CaptureStderr();
    EXPECT_FALSE(cMidiLoader().load(&queue, folder));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unable to open file '" + folder + "'!\n");
    EXPECT_EQ(queue.size(), 1u);
}

// tests/data/mido_format1.mid, written by mido (tools/make_midi_fixtures.py):
// 480 ticks a quarter, 600 000 us a quarter = 1.25 ms a tick.
TEST(MidiLoader, LoadsFileWrittenByMido) {
    cEventQueue queue;
    testing::internal::CaptureStdout();
    cMidiLoader().load(&queue, VANTREL_TEST_DATA "/mido_format1.mid");
    testing::internal::GetCapturedStdout();
    std::vector<sQueued> notes;
    std::vector<int> beats;
    for (std::size_t i = 0; i < queue.size(); ++i)
        collect(queue.at(i), &notes, &beats);
    EXPECT_EQ(beats, every(600, 3600)); // last event at tick 2880 = 3600 ms
    // No two events share a time, so the sorted order is fixed. Tick 240 comes
    // by running status; tick 961 is 1201.25 ms.
    const std::vector<sQueued> expected = {
        {0, 1, 1, 60, 100},   {300, 1, 1, 64, 90}, {600, 2, 1, 60, 0},    {1200, 1, 2, 36, 127},
        {1201, 2, 2, 36, 64}, {1320, 3, 1, 7, 99}, {3000, 1, 2, 38, 110}, {3600, 2, 2, 38, 0}};
    EXPECT_EQ(notes, expected);
}

TEST(MidiTool, ListsTheEventsAndFailsNonZero) {
    const std::string tool = std::string(VANTREL_TOOL_PATH) + " midi ";
    sCommandResult r = run_command(
        tool + write_temp_file("tool.mid", header(0, 1, 480) + chunk(ev(480, {0x90, 60, 100}))));
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_NE(r.out.find("\n0 31\n500 30 1 0 60 100\n500 31\n"), std::string::npos) << r.out;
    // Damaged files end the tool as they end the show: one line naming the
    // file, exit status 1, no abort.
    const std::pair<std::string, std::string> bad[] = {
        {"MThd", "This is not a valid MIDI file!"},
        {header(0, 1, 96) + chunk(ev(0, {0xFF, 0x58, 5, 4, 2, 24, 8, 0})),
         "Time signature of length 5, not 4"}};
    for (const auto& b : bad) {
        const std::string path = write_temp_file("bad.mid", b.first);
        r = run_command(tool + path);
        EXPECT_EQ(r.exit_code, 1);
        EXPECT_EQ(r.err, "FATAL ERROR: " + path + ": " + b.second + "\n");
    }
}
