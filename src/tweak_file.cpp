#include "tweak_file.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <limits>
#include <sstream>

namespace {
const int kMaxScene = 999; // more than any show has; keeps the number sane

std::string trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A whole finite float, nothing else.
bool read_float(const std::string& word, float* value) {
    if (word.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const float parsed = std::strtof(word.c_str(), &end);
    if (end != word.c_str() + word.size() || errno == ERANGE || !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}

// One line; false with the reason.
bool parse_line(const std::string& line, sTweak* tweak, std::string* why) {
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9')
        ++digits;
    if (digits == 0 || digits > 3 || digits == line.size() ||
        (line[digits] != ' ' && line[digits] != '\t')) {
        *why = "no scene number at the start";
        return false;
    }
    tweak->scene = std::atoi(line.substr(0, digits).c_str());
    if (tweak->scene > kMaxScene) {
        *why = "scene number out of range";
        return false;
    }
    const std::size_t equals = line.find('=', digits);
    if (equals == std::string::npos) {
        *why = "no '=' between the variable and its value";
        return false;
    }
    tweak->name = trim(line.substr(digits, equals - digits));
    if (tweak->name.empty()) {
        *why = "no variable name";
        return false;
    }
    std::istringstream values(line.substr(equals + 1));
    std::vector<std::string> words;
    for (std::string word; values >> word;)
        words.push_back(word);
    if (words.size() != 1 && words.size() != 3) {
        *why = "needs one value or three, not " + std::to_string(words.size());
        return false;
    }
    tweak->count = int(words.size());
    for (std::size_t i = 0; i < words.size(); ++i)
        if (!read_float(words[i], &tweak->value[i])) {
            *why = "\"" + words[i] + "\" is not a number";
            return false;
        }
    return true;
}
} // namespace

bool sTweak::operator==(const sTweak& other) const {
    return scene == other.scene && name == other.name && count == other.count &&
           value[0] == other.value[0] && value[1] == other.value[1] && value[2] == other.value[2];
}

std::vector<sTweak> parse_tweaks(const std::string& text, const std::string& source,
                                 std::vector<std::string>* warnings) {
    std::vector<sTweak> tweaks;
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        line = trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        sTweak tweak;
        std::string why;
        if (!parse_line(line, &tweak, &why)) {
            warnings->push_back(source + ":" + std::to_string(number) + ": " + why);
            continue;
        }
        bool replaced = false;
        for (sTweak& kept : tweaks)
            if (kept.scene == tweak.scene && kept.name == tweak.name) {
                kept = tweak;
                replaced = true;
            }
        if (!replaced)
            tweaks.push_back(tweak);
    }
    return tweaks;
}

std::string format_tweaks(const std::vector<sTweak>& tweaks) {
    std::ostringstream text;
    text << std::setprecision(std::numeric_limits<float>::max_digits10);
    for (const sTweak& tweak : tweaks) {
        text << tweak.scene << ' ' << tweak.name << " =";
        for (int i = 0; i < tweak.count; ++i)
            text << ' ' << tweak.value[i];
        text << '\n';
    }
    return text.str();
}
