#include "test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
    std::string full = "(" + command_line + ") >" + stem + ".out 2>" + stem + ".err";
    int status = std::system(full.c_str());
    sCommandResult result;
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = slurp(stem + ".out");
    result.err = slurp(stem + ".err");
    return result;
}

std::string read_file_bytes(const std::string& path) {
    return slurp(path);
}
