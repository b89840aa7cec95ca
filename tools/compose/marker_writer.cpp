#include "marker_writer.h"

#include "score.h"
#include "timecode.h"

std::string write_marker_script(const cScore& score) {
    std::string text =
        "# vantrel marker script: one event per line, \"keyword hours:minutes:seconds,ms\".\n"
        "# Written by vantrel-compose from the soundtrack's score (tools/compose/score.cpp);\n"
        "# change the score and rebuild (scripts/make_soundtrack.sh) rather than this file.\n"
        "# Scenes: 0 solar flare, 1 sprutte, 2 credits with sun, 3 attractor, 4 scrub,\n"
        "# 5 credits, 6 end. \"beat\" flashes the lights on the bar lines that the kick\n"
        "# plays; the named markers sit where those sounds are in the music.\n"
        "# 125 beats per minute: one bar is 1,920 s.\n";
    for (const sScoreMarker& m : score.markers()) {
        if (m.m_keyword == "#")
            text += m.m_text.empty() ? "#\n" : "# " + m.m_text + "\n";
        else
            text += m.m_keyword + " " + format_timecode(m.m_time_ms) + "\n";
    }
    return text;
}
