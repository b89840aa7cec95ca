// Reads a whole file into memory; a GLSL program file with its includes.
#pragma once

#include <string>
#include <vector>

// False when the file cannot be opened or read (a folder, a read error). The
// file is read in blocks up to its end rather than by a size found by
// seeking, which something that is not a plain file reports as huge.
bool read_file(const std::string& path, std::vector<unsigned char>* bytes);

// The text of a GLSL program file with each line `#include "name"` replaced
// by the named file from the same folder, so that programs share their
// stages' code. Includes nest up to four levels deep. False when a file
// cannot be read, with its path in failed; files, if given, gets the path of
// every file read.
bool read_program_text(const std::string& path, std::string* text, std::string* failed,
                       std::vector<std::string>* files = nullptr, int depth = 0);
