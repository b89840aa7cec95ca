// Notices when files are saved: their modification time or size changed
// since the last look. Looks at most every half second, so a frame pays a
// few file-status calls twice a second.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class cFileWatch {
public:
    static constexpr double kInterval = 0.5; // seconds between looks

    // Watches these files from their present state on (a missing one counts
    // as changed once it appears).
    void watch(const std::vector<std::string>& paths);
    // True when a watched file changed since the last look; now is the wall
    // clock in seconds. Before the interval has passed it does not look.
    bool changed(double now);

private:
    struct sStamp {
        std::string path;
        std::int64_t time = -1; // -1: not there
        std::uintmax_t size = 0;
        bool operator!=(const sStamp& other) const {
            return time != other.time || size != other.size;
        }
    };
    static sStamp stamp(const std::string& path);

    std::vector<sStamp> m_stamps;
    double m_last_look = -1.0e9;
};
