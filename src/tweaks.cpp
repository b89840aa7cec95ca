#include "tweaks.h"

#include "gui/gui_var_list.h"
#include "gui/var.h"
#include "math/vec3.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "read_file.h"
#include "scene.h"

#include <iostream>

cTweaks* cTweaks::s_instance = nullptr;

namespace {
// A variable's value as its number of floats (1 or 3); 0 for a display-only
// variable.
int read_var(const iVar* var, float (&value)[3]) {
    if (auto* f = dynamic_cast<const cVar<float>*>(var)) {
        value[0] = *f->get_field();
        return 1;
    }
    if (auto* i = dynamic_cast<const cVar<int>*>(var)) {
        value[0] = float(*i->get_field());
        return 1;
    }
    if (auto* v = dynamic_cast<const cVar<Vec3f>*>(var)) {
        const Vec3f& field = *v->get_field();
        value[0] = field.x;
        value[1] = field.y;
        value[2] = field.z;
        return 3;
    }
    return 0;
}

// The int slider's rule: truncation toward zero.
void write_var(const iVar* var, const sTweak& tweak) {
    if (auto* f = dynamic_cast<const cVar<float>*>(var)) {
        if (tweak.count == 1)
            *f->get_field() = tweak.value[0];
    } else if (auto* i = dynamic_cast<const cVar<int>*>(var)) {
        if (tweak.count == 1 && tweak.value[0] > -2147483648.0f && tweak.value[0] < 2147483648.0f)
            *i->get_field() = int(tweak.value[0]);
    } else if (auto* v = dynamic_cast<const cVar<Vec3f>*>(var)) {
        if (tweak.count == 3)
            *v->get_field() = Vec3f(tweak.value[0], tweak.value[1], tweak.value[2]);
    }
}
} // namespace

cTweaks* cTweaks::instance() {
    if (!s_instance)
        s_instance = new cTweaks();
    return s_instance;
}

void cTweaks::destroy() {
    delete s_instance;
    s_instance = nullptr;
}

void cTweaks::load(const std::string& path) {
    m_values.clear();
    if (!platform::is_readable_file(path))
        return;
    std::vector<unsigned char> bytes;
    if (!read_file(path, &bytes)) {
        std::cerr << "# warning: the tweak file \"" << path << "\" could not be read" << std::endl;
        return;
    }
    std::vector<std::string> warnings;
    m_values = parse_tweaks(std::string(bytes.begin(), bytes.end()), path, &warnings);
    for (const std::string& warning : warnings)
        std::cerr << "# warning: " << warning << std::endl;
}

bool cTweaks::save(const std::string& path, std::string* error) const {
    const std::string text = format_tweaks(m_values);
    const std::string partial = path + ".partial";
    if (!platform::write_file(partial, text.data(), text.size(), error))
        return false;
    if (!platform::rename_file(partial, path, error)) {
        platform::remove_file(partial);
        return false;
    }
    return true;
}

bool cTweaks::keep(int scene, const cGuiVarList& list, std::size_t entry) {
    if (entry >= list.entry_count())
        return false;
    sTweak tweak;
    tweak.scene = scene;
    tweak.name = list.entry(entry).first->get_name();
    tweak.count = read_var(list.entry(entry).first, tweak.value);
    if (tweak.count == 0)
        return false;
    for (sTweak& kept : m_values)
        if (kept.scene == scene && kept.name == tweak.name) {
            kept = tweak;
            return true;
        }
    m_values.push_back(tweak);
    return true;
}

void cTweaks::apply(int scene, const cGuiVarList& list) const {
    for (const sTweak& tweak : m_values) {
        if (tweak.scene != scene)
            continue;
        for (std::size_t i = 0; i < list.entry_count(); ++i)
            if (list.entry(i).first->get_name() == tweak.name) {
                write_var(list.entry(i).first, tweak);
                break;
            }
    }
}

void cTweaks::apply(int scene, cScene* show_scene) const {
    if (!show_scene || !has_scene(scene))
        return;
    cGuiVarList list; // only read and written here
    show_scene->add_vars(&list);
    apply(scene, list);
}

bool cTweaks::has_scene(int scene) const {
    for (const sTweak& tweak : m_values)
        if (tweak.scene == scene)
            return true;
    return false;
}
