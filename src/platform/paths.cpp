#include "platform/paths.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {
// Longest path the system takes, without the terminating zero.
constexpr std::size_t k_max_path_length = PATH_MAX - 1;

// Where reading a link gives up: far beyond any path the system resolves.
constexpr std::size_t k_longest_link = std::size_t(1) << 20;

bool fits_path_limit(const std::string& path) {
    return path.size() <= k_max_path_length;
}

// The working directory; empty with error set when it cannot be read.
std::string working_directory(int& error) {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        if (getcwd(buffer.data(), buffer.size())) {
            error = 0;
            return std::string(buffer.data());
        }
        if (errno != ERANGE) {
            error = errno;
            return std::string();
        }
        buffer.resize(buffer.size() * 2);
    }
}
} // namespace

std::string canonical_path(const std::string& path, int& error) {
    const bool absolute = !path.empty() && path[0] == '/';
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part); // climbs above the start: keep it
            // "/.." is "/": nothing to climb to
            continue;
        }
        parts.push_back(part);
    }

    std::string result = absolute ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            result += '/';
        result += parts[i];
    }
    if (result.empty())
        result = ".";
    error = fits_path_limit(result) ? 0 : ENAMETOOLONG;
    return result;
}

std::string last_component(const std::string& path) {
    std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool is_readable_file(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    // Opening is the only reliable test of readability (ACLs, root, read-only
    // mounts); non-blocking in case the file was swapped for a pipe meanwhile.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

std::string absolute_path(const std::string& path, int& error) {
    std::string canonical = canonical_path(path, error);
    if (canonical[0] != '/') {
        std::string cwd = working_directory(error);
        if (error != 0)
            return std::string();
        canonical = canonical_path(cwd + "/" + canonical, error);
    }
    if (error != 0)
        return std::string();
    return canonical;
}

std::string executable_path(int& error) {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            error = errno;
            return std::string();
        }
        // A result that fills the buffer may have been cut short.
        if (std::size_t(length) < buffer.size()) {
            error = 0;
            return std::string(buffer.data(), std::size_t(length));
        }
        if (buffer.size() >= k_longest_link) {
            error = ENAMETOOLONG;
            return std::string();
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string error_text(int error) {
    return std::strerror(error);
}

} // namespace platform
