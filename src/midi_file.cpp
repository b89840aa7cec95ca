#include "midi_file.h"

#include "event_queue.h"
#include "midi_event.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ostream>

namespace {
// Reads bytes of one track and never moves past its end. Every read reports
// whether the bytes were there; a short read means the track is cut off.
struct sByteReader {
    const uint8_t* m_pos;
    const uint8_t* m_end;

    bool at_end() const { return m_pos >= m_end; }
    std::size_t left() const { return static_cast<std::size_t>(m_end - m_pos); }

    bool byte(uint8_t& value) {
        if (m_pos >= m_end)
            return false;
        value = *m_pos++;
        return true;
    }
    // Variable-length quantity: 7 bits a byte, most significant group first,
    // a set top bit means another byte follows.
    bool vlq(uint32_t& value) {
        value = 0;
        for (;;) {
            uint8_t b;
            if (!byte(b))
                return false;
            value = (value << 7) | (b & 0x7Fu);
            if (!(b & 0x80))
                return true;
        }
    }
    bool skip(uint32_t count) {
        if (count > left())
            return false;
        m_pos += count;
        return true;
    }
};

uint32_t read_be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

uint16_t read_be16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

// Long tracks grow their record array in large steps so that few reallocations happen.
void append_record(std::vector<sMidiRecord>& records, const sMidiRecord& record) {
    if (records.size() == records.capacity())
        records.reserve(records.capacity() + 1024);
    records.push_back(record);
}
} // namespace

bool cMidiFile::fail(eMidiError kind, const std::string& text) {
    m_error = kind;
    m_error_text = text;
    return false;
}

int cMidiFile::to_ms(double ms) {
    if (std::isnan(ms))
        return 0;
    if (ms >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (ms <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(ms);
}

double cMidiFile::beat_period_ms() const {
    return 1.0 / (60.0 / (m_division * m_secs_per_tick)) * 60000.0;
}

bool cMidiFile::parse(const uint8_t* data, std::size_t size, std::ostream& out,
                      std::ostream& warn) {
    m_error = eMidiError::NONE;
    m_error_text.clear();
    m_tracks.clear();
    m_last_tick = 0;

    if (!read_chunks(data, size, out))
        return false;

    out << "  Reading tracks from MIDI file...\n";
    for (std::size_t i = 0; i < m_tracks.size(); ++i) {
        sMidiTrack& track = m_tracks[i];
        if (!decode_track(i, out, warn))
            return false;
        out << "    Track " << i + 1 << " \"" << track.m_name << "\":\t" << track.m_events.size()
            << " events in total\n";
        if (track.m_end_tick > m_last_tick)
            m_last_tick = track.m_end_tick;
    }
    out << "  last event at " << m_last_tick * m_secs_per_tick << "s\n";
    return true;
}

bool cMidiFile::read_chunks(const uint8_t* data, std::size_t size, std::ostream& out) {
    // "MThd", its length, then format, track count and division.
    if (size < 14 || std::memcmp(data, "MThd", 4) != 0)
        return fail(eMidiError::FATAL, "This is not a valid MIDI file!");
    m_header_length = read_be32(data + 4);
    m_format = read_be16(data + 8);
    m_num_tracks = read_be16(data + 10);
    m_division = static_cast<int16_t>(read_be16(data + 12));

    out << "File header size: " << static_cast<int32_t>(m_header_length) << " bytes\n";
    out << "Type: " << m_format << "\n";
    out << "Num tracks: " << m_num_tracks << "\n";
    out << "Time format: " << m_division << "\n";

    if (m_division > 0) {
        // Ticks per quarter note, at the default 500 000 us per quarter note
        // until a tempo event says otherwise.
        m_secs_per_tick = 0.5 / m_division;
    } else {
        // SMPTE: frames per second in the high byte (negated), ticks per frame in the low byte.
        int code = -(m_division >> 8);
        double fps;
        if (code == 24)
            fps = 24.0;
        else if (code == 25)
            fps = 25.0;
        else if (code == 29)
            fps = 29.97;
        else if (code == 30)
            fps = 30.0;
        else
            return fail(eMidiError::FATAL, "Illegal SMPTE frame code");
        int ticks_per_frame = m_division & 0xFF;
        m_secs_per_tick = 1.0 / (ticks_per_frame * fps);
    }
    out << "secs/tick: " << m_secs_per_tick << "\n";

    // The header length is shown but not used: the first track follows the six header bytes.
    std::size_t pos = 14;
    for (int i = 0; i < m_num_tracks && pos < size; ++i) {
        std::size_t left = size - pos;
        std::size_t tag = left < 4 ? left : 4;
        if (std::memcmp(data + pos, "MTrk", tag) != 0) {
            char text[64];
            std::snprintf(text, sizeof text, "Track %d/%d is invalid!", i + 1, m_num_tracks);
            return fail(eMidiError::FATAL, text);
        }
        if (left < 8)
            break; // the chunk's length is cut off: there is no track data
        sMidiTrack track;
        track.m_length = read_be32(data + pos + 4);
        std::size_t start = pos + 8;
        std::size_t length = track.m_length;
        if (length > size - start)
            length = size - start; // a chunk running past the end of the file ends with it
        track.m_begin = data + start;
        track.m_end = data + start + length;
        m_tracks.push_back(track);
        out << "  Track " << i + 1 << ": " << static_cast<int32_t>(track.m_length) << " bytes\n";
        pos = start + length;
    }
    return true;
}

bool cMidiFile::decode_track(std::size_t index, std::ostream& out, std::ostream& warn) {
    sMidiTrack& track = m_tracks[index];
    sByteReader in{track.m_begin, track.m_end};
    uint8_t running_status = 0;
    uint32_t tick = 0;
    const char* cut_short = nullptr; // why the track ended before its data did

    // An event cut off by the end of the track is dropped and ends the track.
    while (!in.at_end()) {
        cut_short = "cut off";
        uint32_t delta;
        if (!in.vlq(delta) || in.at_end())
            break;
        uint32_t event_tick = tick + delta;

        if (*in.m_pos & 0x80)
            running_status = *in.m_pos++;
        uint8_t status = running_status;

        if (status == 0) {
            // A data byte before any status byte has no message to belong to,
            // and how many bytes follow is unknown: whatever came next would
            // be read out of step, so the track ends here.
            cut_short = "a data byte where a status byte is due";
            break;
        }
        if (status < 0xF0) {
            sMidiRecord record;
            record.m_tick = event_tick;
            record.m_status = status;
            int high = status >> 4;
            bool two_bytes = high != 0xC && high != 0xD;
            if (!in.byte(record.m_data1) || (two_bytes && !in.byte(record.m_data2)))
                break;
            append_record(track.m_events, record);
        } else if (status == 0xFF) {
            uint8_t type;
            if (!in.byte(type))
                break;
            if (type == 0x58) {
                uint8_t len;
                if (!in.byte(len))
                    break;
                if (len != 4)
                    return fail(eMidiError::FATAL,
                                "Time signature of length " + std::to_string(len) + ", not 4");
                if (in.left() < 4)
                    break;
                const uint8_t* sig = in.m_pos;
                in.m_pos += 4;
                out << "nom: " << int(sig[0]) << " denom: " << int(sig[1])
                    << " metro: " << int(sig[2]) << " 32nd: " << int(sig[3]) << "\n";
            } else if (type == 0x51) {
                uint8_t len;
                if (!in.byte(len))
                    break;
                if (len != 3)
                    return fail(eMidiError::FATAL,
                                "Tempo of length " + std::to_string(len) + ", not 3");
                if (in.left() < 3)
                    break;
                const uint8_t* p = in.m_pos;
                in.m_pos += 3;
                uint32_t us_per_quarter = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
                // With an SMPTE division a tick is a fixed part of a frame;
                // a tempo does not change it (and dividing by the negative
                // division would put every event before the start).
                if (m_division > 0)
                    m_secs_per_tick = (60.0 / (60000000.0 / us_per_quarter)) / m_division;
                out << "read ms/quaternode: " << us_per_quarter
                    << " -> secs/tick: " << m_secs_per_tick << "\n";
            } else if (type == 0x03) {
                // The name's length is one byte here, not a variable-length quantity.
                uint8_t len;
                if (!in.byte(len))
                    break;
                if (len > 0) {
                    if (in.left() < len)
                        break;
                    track.m_name.assign(reinterpret_cast<const char*>(in.m_pos), len);
                    in.m_pos += len;
                }
            } else {
                uint32_t len;
                if (!in.vlq(len) || !in.skip(len))
                    break;
            }
        } else if (status == 0xF0 || status == 0xF7) {
            // System exclusive: not used, skipped by its length.
            uint32_t len;
            if (!in.vlq(len) || !in.skip(len))
                break;
        }
        // Other system messages (0xF1 to 0xFE) carry nothing that is read.
        tick = event_tick;
        cut_short = nullptr;
    }
    track.m_end_tick = tick;
    if (cut_short)
        warn << "# warning, track " << index + 1 << " ends early at tick " << tick << " ("
             << cut_short << ") in cMidiLoader::load\n";
    return true;
}

void cMidiFile::add_events(cEventQueue& queue, std::ostream& warn, int max_beat_ticks) const {
    for (std::size_t t = 0; t < m_tracks.size(); ++t) {
        int track = static_cast<int>(t);
        for (const sMidiRecord& record : m_tracks[t].m_events) {
            int time = to_ms(record.m_tick * m_secs_per_tick * 1000.0);
            if (record.m_status == 0x90 && record.m_data2 != 0)
                queue.add(new cMETrigger(time, iMidiEvent::KIND_NOTE_ON, track, record.m_data1,
                                         record.m_data2));
            else if (record.m_status == 0x80)
                queue.add(new cMETrigger(time, iMidiEvent::KIND_NOTE_OFF, track, record.m_data1,
                                         record.m_data2));
            else if (record.m_status == 0xB0)
                queue.add(new cMECtrlChange(time, track, record.m_data1, record.m_data2));
        }
    }

    // One tick per quarter note from 0 up to and including the first one at
    // or after the last event. SMPTE files (negative division) and a zero
    // tempo have no usable period.
    double period = beat_period_ms();
    if (!std::isfinite(period) || period <= 0.0) {
        warn << "# warning, no beat period for this time format in cMidiLoader::load\n";
        return;
    }
    int end = to_ms(m_last_tick * m_secs_per_tick * 1000.0);
    for (int i = 0;; ++i) {
        if (i >= max_beat_ticks) {
            warn << "# warning, beat ticks stopped after " << max_beat_ticks
                 << " in cMidiLoader::load\n";
            return;
        }
        int time = to_ms(i * period);
        queue.add(new cEvent(EV_MIDI_BEAT, time));
        if (time >= end)
            return;
    }
}
