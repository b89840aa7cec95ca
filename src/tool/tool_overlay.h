// What the makers' mode draws over the picture: the text line at its top,
// the progress of a replay on a cleared screen, and the frame rate the text
// line tells.
#pragma once

#include <string>

class cToolOverlay {
public:
    // One line of text in a dark band at the top of the picture.
    void draw_text_line(const std::string& text);
    // The replay's progress on a cleared screen, shown at once.
    void show_progress(int target_ms, int at_ms);
    // Counts a shown frame; now is the wall clock in seconds.
    void count_frame(double now);
    // Frames per second over the last half second.
    double fps() const { return m_fps; }

private:
    double m_fps = 0.0;
    int m_frames = 0;
    double m_since = -1.0;
};
