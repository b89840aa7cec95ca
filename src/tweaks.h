// The kept tweak values of the show: read from the tweak file beside the
// marker script, written back there by the makers' mode, and applied to each
// scene when it is entered (after its enter, which sets its starting values).
// Without the file the set is empty and the show is as it always was.
#pragma once

#include "tweak_file.h"

#include <cstddef>
#include <string>
#include <vector>

class cGuiVarList;
class cScene;

class cTweaks {
public:
    static constexpr const char* kTweakFile = "../data/script/tweaks.txt";

    // Created on first use.
    static cTweaks* instance();
    // Deletes the set (exit handler); harmless when none.
    static void destroy();

    // Replaces the set with the file's values. A missing file is an empty
    // set; an unreadable one and every broken line get a warning.
    void load(const std::string& path = kTweakFile);
    // Writes the set to path through a temporary file renamed over it, so a
    // failed write leaves the old file whole; false with the reason.
    bool save(const std::string& path, std::string* error) const;

    // Keeps entry i of the list, which holds the scene's variables, as the
    // scene's value; false for a display-only variable.
    bool keep(int scene, const cGuiVarList& list, std::size_t entry);
    // Writes the scene's kept values into the fields of the list's variables
    // (the first variable of a name); a value for a variable the scene does not
    // have, or of the wrong kind, is left alone.
    void apply(int scene, const cGuiVarList& list) const;
    // The same for a scene of the show: its own list names its fields.
    void apply(int scene, cScene* show_scene) const;
    bool has_scene(int scene) const;
    const std::vector<sTweak>& values() const { return m_values; }

private:
    cTweaks() = default;

    std::vector<sTweak> m_values;

    static cTweaks* s_instance;
};
