#include "read_file.h"

#include <cstdio>

bool read_file(const std::string& path, std::vector<unsigned char>* bytes) {
    bytes->clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    unsigned char block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes->insert(bytes->end(), block, block + got);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}
