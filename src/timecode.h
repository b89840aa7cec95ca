// The timeline's time notation, hours:minutes:seconds,milliseconds, as the
// marker script reads it and the Space key prints it.
#pragma once

#include <string>

// 65030 gives "00:01:05,030"; the marker script reads the text back as the
// same time.
std::string format_timecode(long long ms);
