// Helpers shared by the test files: scratch files and running the tools.
#pragma once

#include <string>

// A fresh file with the given bytes in a per-process scratch folder; returns its path.
std::string write_temp_file(const std::string& name, const std::string& bytes);
// A fresh empty folder in the scratch folder; returns its path.
std::string make_temp_dir(const std::string& name);

struct sCommandResult {
    int exit_code = -1;
    std::string out; // standard output
    std::string err; // standard error
};
// The longest a command of run_command may run: below ctest's limit for a
// test, so that the test itself reports a command that hangs.
constexpr int kCommandLimitSeconds = 540;
// Runs a shell command line and collects its exit code and both streams.
// Its standard input is empty. It runs in a process group of its own that is
// ended (SIGTERM, SIGKILL ten seconds later) after kCommandLimitSeconds, or
// when this process ends first (a test killed at ctest's limit).
sCommandResult run_command(const std::string& command_line);
// The whole content of a file as bytes; empty when it cannot be read.
std::string read_file_bytes(const std::string& path);

// Starts a shell command line in the background ("exec program ..." keeps
// the returned process id for the program); -1 when it cannot be started.
// The system kills it when this process ends, however that happens.
int start_command(const std::string& command_line);
// Whether a started command still runs; one that has ended is reaped.
bool command_running(int pid);
// Ends a started command: SIGTERM, up to grace_seconds to go, then SIGKILL;
// returns once it is reaped.
void stop_command(int pid, int grace_seconds);
