#include "tool/file_watch.h"

#include <filesystem>
#include <system_error>

cFileWatch::sStamp cFileWatch::stamp(const std::string& path) {
    sStamp s;
    s.path = path;
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    if (error)
        return s;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    s.time = std::int64_t(time.time_since_epoch().count());
    s.size = error ? 0 : size;
    return s;
}

void cFileWatch::add(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        bool known = false;
        for (const sStamp& s : m_stamps)
            known = known || s.path == path;
        if (!known)
            m_stamps.push_back(stamp(path));
    }
}

bool cFileWatch::look(double now) {
    m_last_look = now;
    bool changed = false;
    for (sStamp& old : m_stamps) {
        const sStamp present = stamp(old.path);
        if (present.time != old.time || present.size != old.size) {
            old = present;
            changed = true;
        }
    }
    return changed;
}
