#include "platform/process.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

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

bool list_folder(const std::string& path, std::vector<std::string>* names, std::string* error) {
    DIR* dir = opendir(path.c_str());
    if (!dir) {
        *error = std::strerror(errno);
        return false;
    }
    names->clear();
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names->push_back(name);
    }
    closedir(dir);
    return true;
}

bool write_file(const std::string& path, const void* data, std::size_t size, std::string* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = std::strerror(errno);
        return false;
    }
    const char* bytes = static_cast<const char*>(data);
    int failure = 0;
    while (size > 0 && failure == 0) {
        const ssize_t done = ::write(fd, bytes, size);
        if (done > 0) {
            bytes += done;
            size -= std::size_t(done);
        } else if (done == 0) {
            failure = ENOSPC;
        } else if (errno != EINTR) {
            failure = errno;
        }
    }
    // A file system may report the lack of room only when the file is closed.
    if (::close(fd) != 0 && failure == 0 && errno != EINTR)
        failure = errno;
    if (failure == 0)
        return true;
    ::unlink(path.c_str());
    *error = std::strerror(failure);
    return false;
}

void report_failed_writes() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

namespace {
std::atomic<int> g_termination_requests{0};
struct sigaction g_previous_int, g_previous_term;

void count_request(int sig) {
    ++g_termination_requests;
    const struct sigaction& previous = sig == SIGINT ? g_previous_int : g_previous_term;
    const int saved_errno = errno;
    previous.sa_handler(sig);
    // SDL's handler puts itself back with signal(): put the counter back in
    // front of it.
    struct sigaction ours {};
    ours.sa_handler = count_request;
    sigemptyset(&ours.sa_mask);
    sigaction(sig, &ours, nullptr);
    errno = saved_errno;
}

void count_in_front(int sig, struct sigaction* previous) {
    if (sigaction(sig, nullptr, previous) != 0 || (previous->sa_flags & SA_SIGINFO) != 0 ||
        previous->sa_handler == SIG_DFL || previous->sa_handler == SIG_IGN ||
        previous->sa_handler == count_request)
        return;
    struct sigaction ours {};
    ours.sa_handler = count_request;
    sigemptyset(&ours.sa_mask);
    sigaction(sig, &ours, nullptr);
}
} // namespace

void count_termination_requests() {
    count_in_front(SIGINT, &g_previous_int);
    count_in_front(SIGTERM, &g_previous_term);
}

int termination_requests() {
    return g_termination_requests.load();
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
    close(0.0);
}

bool cPipe::open(const std::string& command) {
    // A reader that dies must show up as a failed write, not kill us.
    std::signal(SIGPIPE, SIG_IGN);
    close(0.0);
    m_errors.clear();
    m_reader_gone = false;
    int input[2], errors[2];
    if (pipe2(input, O_CLOEXEC) != 0) {
        m_error = std::strerror(errno);
        return false;
    }
    if (pipe2(errors, O_CLOEXEC) != 0) {
        m_error = std::strerror(errno);
        ::close(input[0]);
        ::close(input[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0); // a group of its own
    std::string shell = "/bin/sh", option = "-c", line = command;
    char* argv[] = {&shell[0], &option[0], &line[0], nullptr};
    pid_t pid = -1;
    const int failure = posix_spawn(&pid, "/bin/sh", &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(input[0]);
    ::close(errors[1]);
    if (failure != 0) {
        m_error = std::strerror(failure);
        ::close(input[1]);
        ::close(errors[0]);
        return false;
    }
    m_pid = pid;
    m_input = input[1];
    m_errfd = errors[0];
    // Waits happen in poll(), where they can be bounded.
    fcntl(m_input, F_SETFL, fcntl(m_input, F_GETFL) | O_NONBLOCK);
    fcntl(m_errfd, F_SETFL, fcntl(m_errfd, F_GETFL) | O_NONBLOCK);
    return true;
}

void cPipe::read_errors() {
    char buffer[4096];
    while (m_errfd >= 0) {
        const ssize_t got = ::read(m_errfd, buffer, sizeof buffer);
        if (got > 0) {
            m_errors.append(buffer, std::size_t(got));
        } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
            ::close(m_errfd);
            m_errfd = -1;
        } else if (errno == EAGAIN) {
            break;
        }
    }
    // Only the end says why the command failed.
    if (m_errors.size() > 8192)
        m_errors.erase(0, m_errors.size() - 4096);
}

bool cPipe::write(const void* data, std::size_t size, double stall_seconds) {
    if (m_input < 0) {
        m_error = "the command is not running";
        return false;
    }
    const char* bytes = static_cast<const char*>(data);
    double last_taken = wall_seconds();
    while (size > 0) {
        const ssize_t done = ::write(m_input, bytes, size);
        if (done > 0) {
            bytes += done;
            size -= std::size_t(done);
            last_taken = wall_seconds();
            continue;
        }
        // A signal handler without restart (SDL's, for a termination
        // request) interrupts a write: go on. A full pipe: wait for room.
        if (done < 0 && errno != EINTR && errno != EAGAIN) {
            m_reader_gone = errno == EPIPE;
            m_error = std::strerror(errno);
            return false;
        }
        if (termination_requests() >= 2) {
            m_error = "interrupted again while it took no data";
            return false;
        }
        if (wall_seconds() - last_taken > stall_seconds) {
            m_error = "it took no data for " + std::to_string(int(stall_seconds)) + " s";
            return false;
        }
        pollfd fds[2] = {{m_input, POLLOUT, 0}, {m_errfd, POLLIN, 0}};
        poll(fds, m_errfd >= 0 ? 2 : 1, 100);
        read_errors();
    }
    return true;
}

int cPipe::close(double timeout_seconds) {
    if (m_pid <= 0)
        return -1;
    if (m_input >= 0)
        ::close(m_input); // the end of its input
    m_input = -1;
    const double started = wall_seconds();
    int status = 0;
    bool ended = false, killed = false;
    for (;;) {
        const pid_t done = waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid || (done < 0 && errno != EINTR)) {
            ended = done == m_pid;
            break;
        }
        const double waited = wall_seconds() - started;
        if (!killed && (termination_requests() >= 2 || waited > timeout_seconds)) {
            // The shell and what it started.
            kill(-m_pid, SIGKILL);
            killed = true;
            m_error = termination_requests() >= 2
                          ? "interrupted again while it was ending"
                          : "it did not end within " + std::to_string(int(timeout_seconds)) + " s";
        } else if (killed && waited > timeout_seconds + 5.0) {
            break; // not even killing ends it: leave it
        }
        pollfd fds[1] = {{m_errfd, POLLIN, 0}};
        poll(fds, m_errfd >= 0 ? 1 : 0, 50);
        read_errors();
    }
    read_errors();
    if (m_errfd >= 0)
        ::close(m_errfd);
    m_errfd = -1;
    m_pid = -1;
    if (killed || !ended || !WIFEXITED(status)) {
        if (!killed)
            m_error = ended ? "it ended by a signal" : "it could not be waited for";
        return -1;
    }
    return WEXITSTATUS(status);
}

} // namespace platform
