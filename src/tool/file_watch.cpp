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

void cFileWatch::watch(const std::vector<std::string>& paths) {
    m_stamps.clear();
    for (const std::string& path : paths)
        m_stamps.push_back(stamp(path));
}

bool cFileWatch::changed(double now) {
    if (now - m_last_look < kInterval)
        return false;
    m_last_look = now;
    bool changed = false;
    for (sStamp& old : m_stamps) {
        const sStamp present = stamp(old.path);
        if (present != old) {
            old = present;
            changed = true;
        }
    }
    return changed;
}
