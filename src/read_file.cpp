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

bool read_program_text(const std::string& path, std::string* text, std::string* failed,
                       std::vector<std::string>* files, int depth) {
    std::vector<unsigned char> bytes;
    if (path.empty() || depth > 4 || !read_file(path, &bytes)) {
        *failed = path;
        return false;
    }
    if (files)
        files->push_back(path);
    const std::string source(bytes.begin(), bytes.end());
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    const std::string directive = "#include \"";
    for (std::size_t at = 0; at < source.size();) {
        std::size_t end = source.find('\n', at);
        end = end == std::string::npos ? source.size() : end + 1;
        const std::string line = source.substr(at, end - at);
        const std::size_t close = line.find('"', directive.size());
        if (line.compare(0, directive.size(), directive) == 0 && close != std::string::npos) {
            const std::string name = line.substr(directive.size(), close - directive.size());
            if (!read_program_text(folder + name, text, failed, files, depth + 1))
                return false;
        } else {
            *text += line;
        }
        at = end;
    }
    return true;
}
