#include "timecode.h"

#include <cstdio>

std::string format_timecode(long long ms) {
    // Whole-number arithmetic: a float time would round up near the end of a
    // second once the show runs for a few hours. Minutes are reduced modulo
    // 60 so that the text reads back as the same time.
    bool negative = ms < 0;
    unsigned long long t = negative ? 0ull - static_cast<unsigned long long>(ms) : ms;
    unsigned long long hours = t / 3600000ull;
    unsigned long long minutes = (t / 60000ull) % 60ull;
    unsigned long long seconds = (t / 1000ull) % 60ull;
    unsigned long long millis = t % 1000ull;
    char text[96];
    std::snprintf(text, sizeof text, "%s%02llu:%02llu:%02llu,%03llu", negative ? "-" : "", hours,
                  minutes, seconds, millis);
    return text;
}
