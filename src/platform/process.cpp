#include "platform/process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace platform {

bool find_program(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (dir.empty())
            dir = ".";
        if (access((dir + "/" + name).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

bool make_directories(const std::string& path, std::string* error) {
    std::string partial;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        partial = path.substr(0, pos);
        if (partial.empty())
            continue;
        if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) {
            *error = std::strerror(errno);
            return false;
        }
    }
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        *error = "not a folder";
        return false;
    }
    return true;
}

bool is_folder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool folder_is_writable(const std::string& path) {
    return access(path.c_str(), W_OK | X_OK) == 0;
}

bool rename_file(const std::string& from, const std::string& to, std::string* error) {
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    *error = std::strerror(errno);
    return false;
}

void remove_file(const std::string& path) {
    std::remove(path.c_str());
}

double wall_seconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

void keep_freed_memory() {
    // The top of the heap is given back only once 1 GiB of it is free, which
    // never happens here. Blocks above 128 KiB keep coming from mappings of
    // their own: served from the heap instead, they made the attractor's
    // frames slower.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

bool stderr_is_terminal() {
    return isatty(STDERR_FILENO) == 1;
}

cPipe::~cPipe() {
    close();
}

bool cPipe::open(const std::string& command) {
    // A reader that dies must show up as a failed write, not kill us.
    std::signal(SIGPIPE, SIG_IGN);
    m_file = popen(command.c_str(), "w");
    return m_file != nullptr;
}

bool cPipe::write(const void* data, std::size_t size) {
    if (!m_file)
        return false;
    // Straight to the descriptor, not through the stream's buffer: after an
    // interrupted write the stream would drop what it had buffered.
    const int fd = fileno(static_cast<FILE*>(m_file));
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t done = ::write(fd, bytes, size);
        if (done < 0) {
            // A signal handler without restart (SDL's, for a termination
            // request) interrupts a write into a full pipe: go on.
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += done;
        size -= std::size_t(done);
    }
    return true;
}

int cPipe::close() {
    if (!m_file)
        return -1;
    int status = pclose(static_cast<FILE*>(m_file));
    m_file = nullptr;
    if (status == -1 || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace platform
