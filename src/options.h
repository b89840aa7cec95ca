// The program's command line.
#pragma once

#include <string>

struct sOptions {
    enum eScreen { ASK, WIDESCREEN, LETTERBOX };
    eScreen screen = ASK;
    bool windowed = false;
    std::string capture_path; // empty: play the show live
    bool has_fps = false;
    int fps = 60;
    bool has_from = false;
    int from_ms = 0;
    bool has_to = false;
    int to_ms = 0;
    bool tool = false; // the makers' mode: pause, seek, loop, reload, stills
    bool help = false;
    bool version = false;

    bool capturing() const { return !capture_path.empty(); }
};

// Fills options from argv; false with a message for a bad command line.
bool parse_options(int argc, const char* const* argv, sOptions* options, std::string* error);
// A timeline time given as milliseconds or in the marker notation (0:1:05,030).
bool parse_time_argument(const std::string& text, int* ms);
const char* usage_text();
