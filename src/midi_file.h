// Standard MIDI File decoder. Works on a file image held in memory and never
// ends the process: fatal conditions come back as an error kind and text, so
// that the loader, the tool, the tests and the fuzzer all run the same code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

class cEventQueue;

// One decoded channel message at its absolute tick.
struct sMidiRecord {
    uint32_t m_tick = 0;
    uint8_t m_zero = 0; // always 0
    uint8_t m_status = 0;
    uint8_t m_data1 = 0;
    uint8_t m_data2 = 0;
};

struct sMidiTrack {
    std::string m_name;                // empty until a track-name event is read
    std::vector<sMidiRecord> m_events; // channel messages only, in file order
    uint32_t m_length = 0;             // chunk length as read
    uint32_t m_end_tick = 0;           // absolute tick of the last complete event
    const uint8_t* m_begin = nullptr;  // data range inside the file image
    const uint8_t* m_end = nullptr;
};

enum class eMidiError {
    NONE,
    FATAL, // the loader ends the process with "FATAL ERROR: ", the file name and the text
};

class cMidiFile {
public:
    // At most this many beat ticks are queued, so that a file with a tiny
    // tempo cannot exhaust memory.
    static constexpr int MAX_BEAT_TICKS = 1000000;

    // Decodes the image and writes the summary lines to out, and a warning to
    // warn for each track that had to be cut short. Returns false on an
    // error; error() and error_text() then say which. The image must stay
    // alive while the track data ranges are used.
    bool parse(const uint8_t* data, std::size_t size, std::ostream& out, std::ostream& warn);

    // Appends one event per channel-1 note on (velocity not 0), note off and
    // controller change, then at most max_beat_ticks beat ticks; warnings go
    // to warn. Does not sort the queue.
    void add_events(cEventQueue& queue, std::ostream& warn,
                    int max_beat_ticks = MAX_BEAT_TICKS) const;

    // A double millisecond value as int, truncated toward zero; values beyond
    // the int range saturate and NaN gives 0.
    static int to_ms(double ms);

    eMidiError error() const { return m_error; }
    const std::string& error_text() const { return m_error_text; }

    int format() const { return m_format; }
    int num_tracks() const { return m_num_tracks; }
    int division() const { return m_division; }
    double seconds_per_tick() const { return m_secs_per_tick; }
    uint32_t last_tick() const { return m_last_tick; }
    const std::vector<sMidiTrack>& tracks() const { return m_tracks; }

    // The length of a quarter note in ms at the tempo in force.
    double beat_period_ms() const;

private:
    bool fail(eMidiError kind, const std::string& text);
    bool read_chunks(const uint8_t* data, std::size_t size, std::ostream& out);
    bool decode_track(std::size_t index, std::ostream& out, std::ostream& warn);

    eMidiError m_error = eMidiError::NONE;
    std::string m_error_text;

    uint32_t m_header_length = 0;
    int m_format = 0;
    int m_num_tracks = 0;
    int m_division = 0; // signed 16-bit
    double m_secs_per_tick = 0.0;
    uint32_t m_last_tick = 0;
    std::vector<sMidiTrack> m_tracks;
};
