// Reads a whole file into memory.
#pragma once

#include <string>
#include <vector>

// False when the file cannot be opened or read (a folder, a read error). The
// file is read in blocks up to its end rather than by a size found by
// seeking, which something that is not a plain file reports as huge.
bool read_file(const std::string& path, std::vector<unsigned char>* bytes);
