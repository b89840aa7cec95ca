// Path services of the Linux layer: the few file-system questions that the
// resource search list asks, answered without any caller having to include a
// system header.
//
// Errors come back as error numbers (errno values) through an out-parameter:
// 0 means success. error_text turns such a number into the system's message.
#pragma once

#include <string>

namespace platform {

// Lexical canonical form of a path, without touching the file system:
// duplicate separators and "." components go, "x/.." pairs collapse, a
// trailing separator is dropped. A relative path keeps the ".." components
// that climb above its start ("../data" stays usable from the working
// directory); in an absolute path "/.." is "/". The empty path and a path that
// collapses to nothing mean the current folder, ".". Only '/' separates.
// error is ENAMETOOLONG when the result does not fit the system's path limit
// (the full result is still returned), otherwise 0.
std::string canonical_path(const std::string& path, int& error);

// Everything after the last separator; '/' and '\\' both count, since asset
// names written on other systems may carry backslashes. A path that ends in a
// separator has an empty last component.
std::string last_component(const std::string& path);

// True when path names a regular file (not a directory, device or pipe) that
// this process can open for reading.
bool is_readable_file(const std::string& path);

// Working directory + canonical path, canonicalised again; lexical, so
// symbolic links are not resolved. An absolute path only gets canonicalised.
// On failure (working directory unreadable, result longer than the system's
// path limit) error holds the reason and the result is empty.
std::string absolute_path(const std::string& path, int& error);

// The absolute path of the running program's executable, symbolic links
// resolved (/proc/self/exe); empty with error set when it cannot be read.
std::string executable_path(int& error);

// The system's message for an error number.
std::string error_text(int error);

} // namespace platform
