// The resource search list: turns the bare file name of an asset
// ("floor.bzobj", "blurtex.vert") into a path that exists, trying the name as
// given and then each search directory in the order they were pushed.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
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

    // Appends the canonical form of a directory (a relative one taken from
    // the start directory), always ending in '/'. The same directory may be
    // pushed twice; entries are only removed by rewind.
    void push_searchpath(std::string path);
    // The absolute path of name when it names a readable file as given
    // (relative to the start directory); otherwise the first search
    // directory + last component of name that names one, as formed (not
    // expanded); otherwise "".
    std::string get_fullpath(std::string name);

    // The folder from which the relative asset names ("../data/...",
    // "../src/shaders") are taken, directories pushed and names looked up as
    // given included: "" (the default) is the working directory.
    void set_start_directory(std::string directory) { m_start = std::move(directory); }
    const std::string& start_directory() const { return m_start; }
    // name as it is opened: a relative name joined to the start directory
    // (canonical), an absolute one, or any name with no start directory set,
    // as given. Files that the show opens itself (the music, the marker
    // script) go through here.
    std::string located(const std::string& name) const;
    // Makes the first of the candidate start directories ("" for the working
    // directory) from which every probe name is a readable file the start
    // directory. The candidates are folders one level below an asset tree
    // and the probes climb out of them ("../data/music/..."). False when no
    // candidate has them all, with *error naming each asset tree tried and
    // what it lacked; the start directory is then left as it was.
    bool choose_start_directory(const std::vector<std::string>& candidates,
                                const std::vector<std::string>& probes, std::string* error);

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

    std::string m_start;
    std::vector<std::string> m_searchpaths;
    std::vector<std::string> m_requested;
};
