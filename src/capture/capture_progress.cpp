#include "capture/capture_progress.h"

#include "timecode.h"

#include <algorithm>
#include <cstdio>

namespace {
// Seconds between reports: a terminal line is cheap to rewrite, a log should
// not fill up.
constexpr double kTerminalInterval = 0.25;
constexpr double kLogInterval = 5.0;

std::int64_t frame_time_ms(std::int64_t frame, int fps) {
    return frame * 1000 / fps;
}
} // namespace

std::int64_t cCaptureProgress::first_frame(std::int64_t from_ms, int fps) {
    // Smallest k with k x 1000 >= from_ms x fps.
    return from_ms <= 0 ? 0 : (from_ms * fps + 999) / 1000;
}

std::int64_t cCaptureProgress::last_frame(std::int64_t last_ms, int fps) {
    // Largest k with k x 1000 / fps < last_ms + 1.
    return last_ms < 0 ? -1 : ((last_ms + 1) * fps - 1) / 1000;
}

std::string cCaptureProgress::duration_text(double seconds) {
    const long long s = seconds > 0.0 ? (long long)(seconds + 0.5) : 0;
    char text[32];
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
    return text;
}

cCaptureProgress::cCaptureProgress(int fps, std::int64_t first_frame, std::int64_t last_frame,
                                   bool terminal)
    : m_fps(fps), m_first(first_frame), m_last(last_frame), m_terminal(terminal) {}

std::int64_t cCaptureProgress::frame_count() const {
    return m_last < 0 ? -1 : std::max<std::int64_t>(0, m_last - m_first + 1);
}

std::string cCaptureProgress::start_line() const {
    char fps[48];
    std::snprintf(fps, sizeof fps, " at %d frames/s", m_fps);
    const std::string from = format_timecode(frame_time_ms(m_first, m_fps));
    if (m_last < 0)
        return "# capture: frames from " + from + " to the end of the show" + fps;
    return "# capture: " + std::to_string(frame_count()) + " frames, " + from + " to " +
           format_timecode(frame_time_ms(m_last, m_fps)) + fps;
}

std::string cCaptureProgress::status(std::int64_t frame, std::int64_t written, double seconds,
                                     bool final) const {
    // The frame that ends a capture lies past its range.
    if (m_last >= 0 && frame > m_last)
        frame = m_last;
    const std::int64_t count = frame_count();
    char text[160];
    std::string line = "# capture: ";
    if (count > 0) {
        std::snprintf(text, sizeof text, "%5.1f%%, frame %lld/%lld, ",
                      100.0 * double(written) / double(count), (long long)written,
                      (long long)count);
        line += text;
    } else {
        line += "frame " + std::to_string(written) + ", ";
    }
    line += format_timecode(frame_time_ms(frame < 0 ? 0 : frame, m_fps));
    // Frames before the range are only updated, not drawn, and go by fast:
    // the pace, and the time left guessed from it, are the range's own. Its
    // first second says too little to guess the time left.
    const std::int64_t range_done = frame - m_first + 1;
    const double range_seconds = seconds - m_range_started;
    if (range_done > 0 && range_seconds > 0.0) {
        std::snprintf(text, sizeof text, ", %.1f frames/s", double(range_done) / range_seconds);
        line += text;
    }
    if (final)
        line += ", took " + duration_text(seconds);
    else if (m_last >= 0 && range_done > 0 && range_seconds >= 1.0)
        line += ", " +
                duration_text(double(std::max<std::int64_t>(0, m_last - frame)) * range_seconds /
                              double(range_done)) +
                " left";
    return line;
}

std::string cCaptureProgress::update(std::int64_t frame, std::int64_t written, double seconds,
                                     bool final) {
    if (frame < m_first)
        m_range_started = seconds;
    if (!final && seconds - m_last_report < (m_terminal ? kTerminalInterval : kLogInterval))
        return std::string();
    m_last_report = seconds;
    const std::string line = status(frame, written, seconds, final);
    if (!m_terminal)
        return line + "\n";
    // Back to the start of the line, the new text, the rest of the old
    // one erased.
    return "\r" + line + "\033[K" + (final ? "\n" : "");
}
