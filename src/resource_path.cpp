#include "resource_path.h"

#include "platform/paths.h"

#include <algorithm>
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
    std::string directory = platform::canonical_path(located(path), error);
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
    const std::string given = located(name);
    if (platform::is_readable_file(given)) {
        int error = 0;
        std::string full = platform::absolute_path(given, error);
        if (error == 0)
            return full;
        report_oops("cResourcePath::get_fullpath", "file", name, error);
        // The name opened as given, so it is still a path that works.
        return given;
    }

    std::string stripped = platform::last_component(name);
    for (const std::string& directory : m_searchpaths) {
        std::string candidate = directory + stripped;
        if (platform::is_readable_file(candidate))
            return candidate;
    }
    return std::string();
}

std::string cResourcePath::located(const std::string& name) const {
    if (m_start.empty() || name.empty() || name[0] == '/')
        return name;
    int error = 0; // a path too long comes back whole and then opens nothing
    return platform::canonical_path(m_start + "/" + name, error);
}

bool cResourcePath::choose_start_directory(const std::vector<std::string>& candidates,
                                           const std::vector<std::string>& probes,
                                           std::string* error) {
    const std::string saved = m_start;
    std::vector<std::string> trees;
    for (const std::string& candidate : candidates) {
        m_start = candidate;
        bool complete = true;
        for (const std::string& probe : probes)
            complete = complete && platform::is_readable_file(located(probe));
        if (complete)
            return true;
        int path_error = 0;
        std::string tree = platform::absolute_path(located(".."), path_error);
        if (path_error != 0)
            tree = candidate + "/..";
        if (std::find(trees.begin(), trees.end(), tree) == trees.end())
            trees.push_back(tree);
    }
    m_start = saved;

    std::string wanted, places;
    for (const std::string& probe : probes) {
        const std::size_t from = probe.find_first_not_of("./");
        wanted += (wanted.empty() ? "" : ", ") + probe.substr(from == std::string::npos ? 0 : from);
    }
    for (const std::string& tree : trees)
        places += (places.empty() ? "" : ", ") + tree;
    *error = "the assets (" + wanted + ") are in none of these folders: " + places;
    return false;
}

void cResourcePath::rewind(const sMark& mark) {
    if (mark.searchpaths < m_searchpaths.size())
        m_searchpaths.resize(mark.searchpaths);
    if (mark.requested < m_requested.size())
        m_requested.resize(mark.requested);
}
