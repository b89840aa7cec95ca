// The resource search list: turns the bare file name of an asset
// ("floor.bzobj", "blurtex.vert") into a path that exists, trying the name as
// given and then each search directory in the order they were pushed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class cResourcePath {
public:
    // The one list, created empty on first use.
    static cResourcePath* instance();
    // Deletes the list; the next instance() starts a fresh one. Harmless when
    // there is none. The exit handler calls it.
    static void destroy();

    cResourcePath(const cResourcePath&) = delete;
    cResourcePath& operator=(const cResourcePath&) = delete;

    // Appends the canonical form of a directory, always ending in '/'. The
    // same directory may be pushed twice; entries are only removed by rewind.
    void push_searchpath(std::string path);
    // The absolute path of name when it names a readable file as given
    // (relative to the working directory); otherwise the first search
    // directory + last component of name that names one, as formed (not
    // expanded); otherwise "".
    std::string get_fullpath(std::string name);

    const std::vector<std::string>& searchpaths() const { return m_searchpaths; }
    // Every name asked for, in order (repeats included): the list of assets
    // the show really loads.
    const std::vector<std::string>& requested() const { return m_requested; }

    // The lengths of both lists. Loading the same scenes a second time pushes
    // the same directories and asks for the same names again; rewinding to
    // the mark taken before drops those repeats, so the lists do not grow
    // with every reload.
    struct sMark {
        std::size_t searchpaths = 0;
        std::size_t requested = 0;
    };
    sMark mark() const { return sMark{m_searchpaths.size(), m_requested.size()}; }
    void rewind(const sMark& mark);

private:
    cResourcePath() = default;

    std::vector<std::string> m_searchpaths;
    std::vector<std::string> m_requested;
};
