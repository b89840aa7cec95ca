// Child processes, pipes and the few file-system operations the capture needs.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// True if an executable of that name is on the search path.
bool find_program(const std::string& name);
// Creates the folder and its parents; false with the system's text on failure.
bool make_directories(const std::string& path, std::string* error);
// True if the path names an existing folder.
bool is_folder(const std::string& path);
// True if a new file can be created in the folder.
bool folder_is_writable(const std::string& path);
bool rename_file(const std::string& from, const std::string& to, std::string* error);
void remove_file(const std::string& path);
// Seconds of a monotonic clock, for progress reports.
double wall_seconds();
// True when the standard error stream is a terminal (not a file or a pipe).
bool stderr_is_terminal();
// Keeps the memory the process frees for its own reuse instead of handing it
// back to the system at every free. A software GL driver frees and allocates
// tens of megabytes of binning memory every frame; giving it back each time
// costs a page fault per page when it is touched again.
void keep_freed_memory();

// A shell command whose standard input we write.
class cPipe {
public:
    cPipe() = default;
    ~cPipe();
    cPipe(const cPipe&) = delete;
    cPipe& operator=(const cPipe&) = delete;

    bool open(const std::string& command);
    // False once the reader has gone away.
    bool write(const void* data, std::size_t size);
    // Waits for the command; its exit status, or -1.
    int close();

private:
    void* m_file = nullptr; // FILE*
};

} // namespace platform
