// The program's command line.
#pragma once

#include <string>
#include <vector>

struct sOptions {
    enum eScreen { ASK, WIDESCREEN, LETTERBOX };
    eScreen screen = ASK;
    bool windowed = false;
    bool desktop = false; // full screen at the desktop's own size
    int width = 0;        // --size: the frame's size; 0 without it
    int height = 0;
    std::string capture_path; // empty: play the show live
    bool has_fps = false;
    int fps = 60;
    bool has_from = false;
    int from_ms = 0;
    bool has_to = false;
    int to_ms = 0;
    std::vector<int> shots_ms; // --shots: only these frames are written, ascending
    bool profile = false;      // per-pass timing of a capture
    bool tool = false;         // the makers' mode: pause, seek, loop, reload, stills
    bool has_at = false;       // --at: the makers' mode starts at at_ms
    int at_ms = 0;
    bool help = false;
    bool version = false;

    bool capturing() const { return !capture_path.empty(); }
    bool has_size() const { return width > 0; }
};

// Fills options from argv; false with a message for a bad command line.
bool parse_options(int argc, const char* const* argv, sOptions* options, std::string* error);
// A timeline time given as milliseconds or in the marker notation (0:1:05,030),
// read strictly: anything else is false.
bool parse_time_argument(const std::string& text, int* ms);
// A comma-separated list of timeline times for --shots; a time in the marker
// notation takes the comma before its milliseconds with it ("500,0:1:05,030").
// The list comes back ascending and without repeats.
bool parse_time_list(const std::string& text, std::vector<int>* ms);
// A frame size: "WxH" in whole even pixels from 320 x 200 up, or one of
// 720p, 1080p, 1440p, 4k; read strictly, anything else is false.
bool parse_size_argument(const std::string& text, int* width, int* height);
const char* usage_text();
