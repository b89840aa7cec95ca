#include "resource_path.h"

#include "platform/paths.h"

#include <iostream>

namespace {
cResourcePath* g_instance = nullptr;

// Despite the wording these reports are not fatal: the operation goes on.
void report_oops(const char* where, const char* what, const std::string& path, int error) {
    std::cerr << "fatal - oops in " << where << " on " << what << " \"" << path
              << "\": " << platform::error_text(error) << std::endl;
}
} // namespace

cResourcePath* cResourcePath::instance() {
    if (!g_instance)
        g_instance = new cResourcePath();
    return g_instance;
}

void cResourcePath::destroy() {
    delete g_instance;
    g_instance = nullptr;
}

void cResourcePath::push_searchpath(std::string path) {
    int error = 0;
    std::string directory = platform::canonical_path(path, error);
    if (error != 0)
        report_oops("cResourcePath::push_searchpath", "path", directory, error);
    // A directory that is too long is kept all the same: looking up files in
    // it simply finds nothing, where a truncated or empty entry would search
    // some other folder.
    if (directory.back() != '/')
        directory += '/';
    m_searchpaths.push_back(directory);
}

std::string cResourcePath::get_fullpath(std::string name) {
    m_requested.push_back(name);
    if (platform::is_readable_file(name)) {
        int error = 0;
        std::string full = platform::absolute_path(name, error);
        if (error == 0)
            return full;
        report_oops("cResourcePath::get_fullpath", "file", name, error);
        // The name opened as given, so it is still a path that works.
        return name;
    }

    std::string stripped = platform::last_component(name);
    for (const std::string& directory : m_searchpaths) {
        std::string candidate = directory + stripped;
        if (platform::is_readable_file(candidate))
            return candidate;
    }
    return std::string();
}

void cResourcePath::rewind(const sMark& mark) {
    if (mark.searchpaths < m_searchpaths.size())
        m_searchpaths.resize(mark.searchpaths);
    if (mark.requested < m_requested.size())
        m_requested.resize(mark.requested);
}
