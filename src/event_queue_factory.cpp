#include "event_queue_factory.h"

#include "read_file.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

namespace {
const char* const kWhitespace = " \t\n\r";

struct sKeyword {
    const char* text;
    int type;
};

// Compared in this order, before the scene tokens.
const sKeyword kKeywords[] = {
    {"beat", EV_BEAT},         {"snare", EV_SNARE},         {"rumble", EV_RUMBLE},
    {"fadein", EV_FADEIN},     {"bwab1", EV_BWAB1},         {"bwab2", EV_BWAB2},
    {"technofx", EV_TECHNOFX}, {"technofx2", EV_TECHNOFX2}, {"melody", EV_MELODY},
    {"lead", EV_LEAD},         {"hihatc", EV_HIHATC},       {"hihato", EV_HIHATO},
    {"sinus_in", EV_SINUS_IN},
};

// A field as atoi reads it (leading blanks and a sign, digits up to the first
// other character, no digits is 0), but wrapping instead of overflowing.
std::uint32_t field_value(const char* begin, const char* end) {
    const char* p = begin;
    while (p < end &&
           (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f'))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    std::uint32_t value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        value = value * 10u + std::uint32_t(*p - '0');
    return negative ? 0u - value : value;
}
} // namespace

int cEventQueue_factory::eventtoken_parse(const char* token) {
    for (const sKeyword& keyword : kKeywords)
        if (std::strcmp(token, keyword.text) == 0)
            return keyword.type;
    if (token[0] >= '0' && token[0] <= '9')
        return EV_DIGIT;
    if (token[0] == 's') {
        for (int scene = EV_SCENE_FIRST; scene <= EV_SCENE_LAST; ++scene) {
            char name[8];
            std::snprintf(name, sizeof name, "s%02d", scene);
            if (std::strcmp(token, name) == 0)
                return scene;
        }
        if (std::strcmp(token, "s100") == 0)
            return EV_S100;
    }
    if (std::strcmp(token, "quit") == 0)
        return EV_QUIT;
    if (token[0] == '#')
        return EV_NONE;
    std::cerr << "# warning, unknown token " << token << " in "
              << "cEventQueue_factory::eventtoken_parse" << std::endl;
    return EV_NONE;
}

bool cEventQueue_factory::time_parse(const char* token, int* ms) {
    // Four fields split at ':' and ','; an empty field counts as 0. Anything
    // after the fourth field is ignored. Arithmetic wraps in 32 bits.
    std::uint32_t fields[4] = {0, 0, 0, 0};
    int count = 0;
    const char* p = token;
    while (count < 4) {
        const char* end = p + std::strcspn(p, ":,");
        fields[count++] = field_value(p, end);
        if (*end == '\0')
            break;
        p = end + 1;
    }
    if (count < 4)
        return false;
    std::uint32_t total = fields[0] * 3600000u + fields[1] * 60000u + fields[2] * 1000u + fields[3];
    *ms = static_cast<int>(static_cast<std::int32_t>(total));
    return true;
}

bool cEventQueue_factory::strict_time_parse(const char* text, int* ms) {
    // Up to four fields of digits; the limits keep each field, and so the
    // total, far from overflowing before it is checked.
    const std::uint64_t limits[4] = {INT_MAX / 3600000, 59, 59, 999};
    std::uint64_t fields[4] = {0, 0, 0, 0};
    int count = 0;
    const char* p = text;
    for (;;) {
        const char* digits = p;
        std::uint64_t value = 0;
        for (; *p >= '0' && *p <= '9'; ++p) {
            value = value * 10u + std::uint64_t(*p - '0');
            if (value > std::uint64_t(INT_MAX))
                return false;
        }
        if (p == digits)
            return false; // an empty field, or a character that is no digit
        fields[count++] = value;
        if (*p == '\0')
            break;
        if ((*p != ':' && *p != ',') || count == 4)
            return false;
        ++p;
    }
    if (count == 1) {
        *ms = int(fields[0]);
        return true;
    }
    if (count != 4)
        return false;
    for (int i = 0; i < 4; ++i)
        if (fields[i] > limits[i])
            return false;
    const std::uint64_t total =
        fields[0] * 3600000u + fields[1] * 60000u + fields[2] * 1000u + fields[3];
    if (total > std::uint64_t(INT_MAX))
        return false;
    *ms = int(total);
    return true;
}

cEvent* cEventQueue_factory::line_parse(char* line) {
    if (line[0] == '\0')
        return new cEvent(EV_NONE, -1);

    // The keyword starts in the first column and runs to the first whitespace
    // after it; a line that starts with whitespace has a keyword that starts
    // with it and so matches nothing.
    std::size_t keyword_length = 1 + std::strcspn(line + 1, kWhitespace);
    char* rest = line + keyword_length;
    bool more = *rest != '\0';
    *rest = '\0';
    int type = eventtoken_parse(line);
    if (type == EV_NONE || type == EV_DIGIT)
        return new cEvent(EV_NONE, -1);

    char* time_token = nullptr;
    if (more) {
        char* p = rest + 1;
        p += std::strspn(p, kWhitespace);
        if (*p != '\0') {
            time_token = p;
            p[std::strcspn(p, kWhitespace)] = '\0';
        }
    }
    if (!time_token) {
        std::cerr << "# warning, missing time after " << line << " in "
                  << "cEventQueue_factory::line_parse" << std::endl;
        return new cEvent(EV_NONE, -1);
    }
    int ms = 0;
    if (!time_parse(time_token, &ms)) {
        std::cerr << "# warning, bad time " << time_token << " after " << line << " in "
                  << "cEventQueue_factory::line_parse" << std::endl;
        return new cEvent(EV_NONE, -1);
    }
    return new cEvent(type, ms);
}

cEventQueue* cEventQueue_factory::loadText(const char* text, std::size_t size) {
    cEventQueue* queue = new cEventQueue();
    std::vector<char> line;
    line.reserve(kMaxLineLength + 1);
    std::size_t pos = 0;
    int line_number = 0;
    while (pos < size) {
        ++line_number;
        const void* found = std::memchr(text + pos, '\n', size - pos);
        std::size_t end = found ? std::size_t(static_cast<const char*>(found) - text) : size;
        std::size_t next = found ? end + 1 : end;
        // Text-mode reading: a carriage return before the line feed belongs to
        // the line end, so scripts saved with CRLF line ends read the same.
        if (found && end > pos && text[end - 1] == '\r')
            --end;
        if (end - pos > kMaxLineLength) {
            // The line does not fit the line buffer: reading ends here.
            std::cerr << "# warning, line " << line_number << " longer than " << kMaxLineLength
                      << " characters, reading stopped in "
                      << "cEventQueue_factory::loadFile" << std::endl;
            break;
        }
        line.assign(text + pos, text + end);
        line.push_back('\0');
        pos = next;

        cEvent* event = line_parse(line.data());
        if (event->m_type == EV_NONE)
            delete event;
        else
            queue->add(event);
    }
    queue->sort();
    queue->rewind();
    return queue;
}

cEventQueue* cEventQueue_factory::loadFile(std::string filename) {
    std::vector<unsigned char> text;
    if (!read_file(filename, &text)) {
        std::cout << "Error reading file " << '"' << filename << " in cEventQueue_factory::loadFile"
                  << std::endl;
        return nullptr;
    }
    return loadText(reinterpret_cast<const char*>(text.data()), text.size());
}
