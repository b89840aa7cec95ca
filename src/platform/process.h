// Child processes, pipes and the few file-system operations the capture needs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

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
// Removes a file or an empty folder.
void remove_file(const std::string& path);
// The names in a folder, without "." and ".."; false with the system's text.
bool list_folder(const std::string& path, std::vector<std::string>* names, std::string* error);
// Writes the bytes as the file at path, replacing one of that name. Every
// byte written and the file closed, or false with the system's text and no
// file left behind.
bool write_file(const std::string& path, const void* data, std::size_t size, std::string* error);
// Writes that fail (a full disk, the file size limit, a reader gone) report
// an error instead of ending the process with a signal.
void report_failed_writes();
// From now on counts interrupts and termination requests (SIGINT, SIGTERM)
// in front of the handlers installed for them (SDL's, which turn them into a
// quit event). Only signals that already have a handler are counted.
void count_termination_requests();
// How many have come; the waits for the video encoder give up at the second.
int termination_requests();
// Seconds of a monotonic clock, for progress reports.
double wall_seconds();
// True when the standard error stream is a terminal (not a file or a pipe).
bool stderr_is_terminal();
// Keeps the memory the process frees for its own reuse instead of handing it
// back to the system at every free. A software GL driver frees and allocates
// tens of megabytes of binning memory every frame; giving it back each time
// costs a page fault per page when it is touched again.
void keep_freed_memory();

// A shell command whose standard input we write, run in a process group of
// its own: an interrupt typed at the terminal reaches us alone, and we decide
// when the command ends. Its error stream is collected.
class cPipe {
public:
    cPipe() = default;
    // Kills the command if it is still running.
    ~cPipe();
    cPipe(const cPipe&) = delete;
    cPipe& operator=(const cPipe&) = delete;

    bool open(const std::string& command);
    // False, with the reason in error(), once the reader has gone away, when
    // it takes no byte for stall_seconds, or at a second termination request.
    bool write(const void* data, std::size_t size, double stall_seconds = 60.0);
    // Ends the input and waits for the command, at most timeout_seconds and
    // not after a second termination request: then its process group is
    // killed. The exit status, or -1 (killed, ended by a signal, not running).
    int close(double timeout_seconds = 60.0);
    // Why the last write or close failed.
    const std::string& error() const { return m_error; }
    // True once a write found the command's input closed (it has ended or
    // is ending).
    bool reader_gone() const { return m_reader_gone; }
    // The end of what the command wrote to its error stream.
    const std::string& errors() const { return m_errors; }

private:
    // Reads what the command's error stream holds now, without waiting.
    void read_errors();

    int m_input = -1; // our end of its standard input
    int m_errfd = -1; // our end of its error stream
    int m_pid = -1;
    bool m_reader_gone = false;
    std::string m_error;
    std::string m_errors;
};

} // namespace platform
