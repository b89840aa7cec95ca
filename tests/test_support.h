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
// Runs a shell command line and collects its exit code and both streams.
sCommandResult run_command(const std::string& command_line);
// The whole content of a file as bytes; empty when it cannot be read.
std::string read_file_bytes(const std::string& path);
