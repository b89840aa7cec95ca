#include "test_support.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
std::string scratch_dir() {
    static std::string dir = [] {
        const char* base = std::getenv("TMPDIR");
        std::string tmpl = std::string(base && *base ? base : "/tmp") + "/vantrel-test-XXXXXX";
        char* made = mkdtemp(tmpl.data());
        return std::string(made ? made : "/tmp");
    }();
    return dir;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Starts argv with standard input from /dev/null and the output streams into
// the given files (inherited where empty); the child's id, or -1.
pid_t spawn(const std::vector<std::string>& args, const std::string& out, const std::string& err) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const int flags = O_WRONLY | O_CREAT | O_TRUNC;
    if (!out.empty())
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), flags, 0644);
    if (!err.empty())
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), flags, 0644);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The child's wait status; -1 when there is none to wait for.
int wait_for(pid_t pid, int options) {
    int status = 0;
    pid_t got;
    do
        got = waitpid(pid, &status, options);
    while (got < 0 && errno == EINTR);
    return got == pid ? status : -1;
}
} // namespace

std::string write_temp_file(const std::string& name, const std::string& bytes) {
    std::string path = scratch_dir() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return path;
}

std::string make_temp_dir(const std::string& name) {
    std::string path = scratch_dir() + "/" + name;
    mkdir(path.c_str(), 0755);
    return path;
}

sCommandResult run_command(const std::string& command_line) {
    static int counter = 0;
    std::string stem =
        scratch_dir() + "/cmd" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    // setpriv has the system send timeout SIGTERM when this process dies;
    // timeout then ends the whole group of the command as at its limit.
    const pid_t pid = spawn({"setpriv", "--pdeathsig", "TERM", "--", "timeout", "-k", "10",
                             std::to_string(kCommandLimitSeconds), "/bin/sh", "-c", command_line},
                            stem + ".out", stem + ".err");
    sCommandResult result;
    const int status = pid > 0 ? wait_for(pid, 0) : -1;
    result.exit_code = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = slurp(stem + ".out");
    result.err = pid > 0 ? slurp(stem + ".err") : "cannot start setpriv and timeout\n";
    if (result.exit_code == 124)
        result.err += "\n(killed: no end within " + std::to_string(kCommandLimitSeconds) + " s)\n";
    return result;
}

std::string read_file_bytes(const std::string& path) {
    return slurp(path);
}

int start_command(const std::string& command_line) {
    return spawn({"setpriv", "--pdeathsig", "KILL", "--", "/bin/sh", "-c", command_line}, "", "");
}

bool command_running(int pid) {
    return pid > 0 && wait_for(pid, WNOHANG) == -1 && kill(pid, 0) == 0;
}

void stop_command(int pid, int grace_seconds) {
    if (pid <= 0 || !command_running(pid))
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < grace_seconds * 20 && command_running(pid); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (command_running(pid)) {
        kill(pid, SIGKILL);
        wait_for(pid, 0);
    }
}
