// The soundtrack's score: every note of every part, the sections and the
// timeline markers, all built by code so that a changed note rebuilds the MIDI
// sync file, the marker script and the audio alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// 125 beats per minute with 480 ticks per quarter note: one tick is one
// millisecond, so bar lines fall on round times.
constexpr int kTicksPerBeat = 480;
constexpr int kTempoMicros = 480000; // per quarter note
constexpr int kTicksPerBar = 4 * kTicksPerBeat;
constexpr int kTicksPer16th = kTicksPerBeat / 4;
constexpr int kSampleRate = 44100;

// Parts in file order; track 0 of the MIDI file is the tempo track, so each
// part's value is also its 0-based track number there. Several scenes react to
// particular tracks: keep these numbers stable.
enum eTrack {
    TRACK_KICK = 1,
    TRACK_BASS = 2,
    TRACK_HATS = 3,
    TRACK_STAB = 4, // chord stabs: pulse the light of the credits room
    TRACK_PAD = 5,
    TRACK_DROP = 6,  // one note: the solar flare picture fades to black
    TRACK_WHITE = 7, // one note: the solar flare picture washes to white
    TRACK_ARP = 8,
    TRACK_LEAD = 9,
    TRACK_CLAP = 10, // claps and snare rolls: every third flashes the credits
    TRACK_FX = 11,   // risers and crashes
    TRACK_BELL = 12,
    TRACK_COUNT = 13 // including the tempo track
};

// Drum and effect pitches (General MIDI numbers where one fits).
enum eDrumPitch {
    PITCH_KICK = 36,
    PITCH_SNARE = 38,
    PITCH_CLAP = 39,
    PITCH_HAT_CLOSED = 42,
    PITCH_HAT_OPEN = 46,
    PITCH_RISER = 48,
    PITCH_CRASH = 49,
};

enum eNoteVariant {
    VARIANT_PLAIN = 0,
    VARIANT_WOBBLE = 1, // bass: a filter that opens and closes in eighths
};

struct sScoreNote {
    int m_track = 0;
    uint32_t m_tick = 0;
    uint32_t m_length = 0; // ticks
    int m_pitch = 0;
    int m_velocity = 0;
    int m_variant = VARIANT_PLAIN; // sound only; not written to the sync file
};

// A scene switch, a named marker or a comment line of the marker script.
struct sScoreMarker {
    std::string m_keyword; // "s03", "beat", "snare", ... or "#" for a comment
    int m_time_ms = 0;
    std::string m_text; // the comment's text
};

struct sScoreSection {
    std::string m_name;
    int m_first_bar = 0;
    int m_bars = 0;
    int m_scene = 0;
    std::string m_comment; // what happens in the music and on screen
};

class cScore {
public:
    // The whole piece.
    static cScore compose();

    const std::vector<sScoreNote>& notes() const { return m_notes; }
    const std::vector<sScoreSection>& sections() const { return m_sections; }
    // Markers in timeline order, comments right before the section they explain.
    const std::vector<sScoreMarker>& markers() const { return m_markers; }

    static const char* track_name(int track);

    // Length of the rendered audio in sample frames: the last bar plus the
    // tail of the reverb.
    int64_t audio_frames() const { return m_audio_frames; }
    // The time of a tick on the timeline, as the MIDI loader computes it.
    static int tick_to_ms(uint32_t tick);
    static double tick_to_seconds(uint32_t tick) {
        return tick * (kTempoMicros * 1e-6) / kTicksPerBeat;
    }
    static uint32_t bar_tick(int bar, int sixteenth = 0) {
        return static_cast<uint32_t>(bar * kTicksPerBar + sixteenth * kTicksPer16th);
    }

private:
    void note(int track, int bar, int sixteenth, int length16, int pitch, int velocity,
              int variant = VARIANT_PLAIN);
    void marker(const std::string& keyword, int bar, int sixteenth = 0);
    void section(const std::string& name, int first_bar, int bars, int scene,
                 const std::string& comment);

    void write_intro();
    void write_rise();
    void write_drop();
    void write_breakdown();
    void write_peak();
    void write_outro();
    void write_coda();
    void write_timeline();

    // Part writers shared by the sections, over bars [first, first + count).
    void four_on_the_floor(int first, int count, int velocity = 120);
    void pads(int first, int count, int velocity_from, int velocity_to);
    void bass_offbeats(int first, int count);
    void bass_rolling(int first, int count);
    void hats(int first, int count, bool sixteenths, bool open);
    void claps(int first, int count, bool ghost);
    void snare_roll(int first, int count);
    void arp(int first, int count, int velocity_from, int velocity_to);
    void stabs(int first, int count);
    void lead(int first, int count, int velocity);
    void bells(int first, int count);
    void riser(int first, int count);
    void crash(int bar);

    std::vector<sScoreNote> m_notes;
    std::vector<sScoreSection> m_sections;
    std::vector<sScoreMarker> m_markers;
    int64_t m_audio_frames = 0;
};
