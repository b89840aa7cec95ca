// What a capture tells the person waiting for it: at the start how many
// frames the range holds, then the share of them written, the frame, its
// timecode, frames per second and the time left. On a terminal this is one
// line that keeps being rewritten; in a log, a line every few seconds.
#pragma once

#include <cstdint>
#include <string>

class cCaptureProgress {
public:
    // First and last frame of a capture at fps whose timeline times,
    // k x 1000 / fps ms rounded down, lie in from_ms..last_ms.
    static std::int64_t first_frame(std::int64_t from_ms, int fps);
    static std::int64_t last_frame(std::int64_t last_ms, int fps);
    // "8:57" or "1:05:09".
    static std::string duration_text(double seconds);

    // last_frame < 0: the end of the range is not known.
    cCaptureProgress(int fps, std::int64_t first_frame, std::int64_t last_frame, bool terminal);

    std::int64_t frame_count() const;
    // The opening line, without the line end.
    std::string start_line() const;
    // The report after frame `frame` (counted from 0, whether written or
    // not) with `written` frames written, at `seconds` since the first frame:
    // the time left, or for the final report the time taken. Frames before
    // the range are only updated, not drawn: the time left is guessed from
    // the pace since the range began (as update() saw it).
    std::string status(std::int64_t frame, std::int64_t written, double seconds, bool final) const;
    // The text to print now (possibly nothing): on a terminal a carriage
    // return and the rewritten line, otherwise whole lines now and then.
    // The final report ends the line on a terminal too.
    std::string update(std::int64_t frame, std::int64_t written, double seconds, bool final);

private:
    int m_fps;
    std::int64_t m_first;
    std::int64_t m_last;
    bool m_terminal;
    double m_last_report = -1.0e9;
    double m_range_started = 0.0; // seconds when the range's first frame began
};
