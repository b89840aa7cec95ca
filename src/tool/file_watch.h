// Notices when files are saved: their modification time or size changed
// since the last look. The owner looks at most every half second, so a frame
// pays a few file-status calls twice a second.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class cFileWatch {
public:
    static constexpr double kInterval = 0.5; // seconds between looks

    // Watches the paths not watched yet, from their present state on (a
    // missing one counts as changed once it appears).
    void add(const std::vector<std::string>& paths);
    // Watches nothing.
    void clear() { m_stamps.clear(); }
    // Whether the interval since the last look has passed; now is the wall
    // clock in seconds.
    bool due(double now) const { return now - m_last_look >= kInterval; }
    // Looks now: true when a watched file changed since the last look.
    bool look(double now);

private:
    struct sStamp {
        std::string path;
        std::int64_t time = -1; // -1: not there
        std::uintmax_t size = 0;
    };
    static sStamp stamp(const std::string& path);

    std::vector<sStamp> m_stamps;
    double m_last_look = -1.0e9;
};
