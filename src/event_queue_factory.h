// Reads the marker script: one event per line, "keyword time", for example
//   s03 0:0:42,000
// where the time is hours, minutes, seconds and milliseconds separated by ':'
// or ',' in any mix.
#pragma once

#include "event.h"
#include "event_queue.h"

#include <cstddef>
#include <string>

class cEventQueue_factory {
public:
    // Longest line, without its line feed, that is read; a longer one ends reading.
    static constexpr std::size_t kMaxLineLength = 511;

    // A new sorted queue owned by the caller, or none if the file cannot be read.
    static cEventQueue* loadFile(std::string filename);
    // The same for script text already in memory (tools, tests, fuzzing).
    static cEventQueue* loadText(const char* text, std::size_t size);

    // The event type of one keyword, or -1.
    static int eventtoken_parse(const char* token);
    // A new event for one line (modified in place); type and time -1 when the
    // line holds no event.
    static cEvent* line_parse(char* line);
    // The milliseconds of a time token; false when it has fewer than four fields.
    static bool time_parse(const char* token, int* ms);
    // A time typed by a user, read strictly: either plain decimal digits
    // (milliseconds) or exactly four fields of digits separated by ':' or ','
    // with minutes and seconds below 60 and milliseconds below 1000. No signs,
    // blanks, empty fields or trailing text; the total must fit an int.
    // False, leaving ms alone, for anything else.
    static bool strict_time_parse(const char* text, int* ms);
};
