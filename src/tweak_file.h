// The tweak file: values of the scenes' tweak variables that a maker dragged
// in the panel and kept, applied to each scene when it is entered. One value
// per line:
//
//   <scene number> <variable name> = <value> [<value> <value>]
//
// a number for a float or int variable, three for a vector. Blank lines and
// lines starting with '#' are skipped. Text only: the reader never touches
// GL, so tests and fuzzers call the code the program runs.
#pragma once

#include <string>
#include <vector>

struct sTweak {
    int scene = 0;
    std::string name;
    int count = 1; // 1 or 3 values
    float value[3] = {0.0f, 0.0f, 0.0f};

    bool operator==(const sTweak& other) const;
};

// The values of text, in file order; a later line for the same scene and
// variable replaces the earlier one. A broken line is left out with a warning
// "<source>:<line>: <why>" appended to warnings; the rest is read.
std::vector<sTweak> parse_tweaks(const std::string& text, const std::string& source,
                                 std::vector<std::string>* warnings);
// The file's text for the values, one line each in the given order; floats
// with enough digits to read back the same value.
std::string format_tweaks(const std::vector<sTweak>& tweaks);
