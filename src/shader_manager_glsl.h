// The shader manager: one process-wide registry of named shaders on the GLSL
// back end. Scenes and post effects register the shaders they use by name,
// bind them by name and hand them parameter values; a stack of names lets a
// pass switch shaders and afterwards restore whatever was bound before.
#pragma once

#include "glsl_profile.h"
#include "shader_glsl.h"

#include <deque>
#include <iostream>
#include <map>
#include <string>
#include <vector>

// The name that means "no shader bound"; never a registered name.
inline constexpr char kNullShader[] = "null_shader";

class cShaderManager_GLSL {
public:
    // The one manager, created on first use: no context, nothing bound, an
    // empty registry and stack.
    static cShaderManager_GLSL* instance();
    // Shuts the manager down and deletes it; the exit handler calls it.
    // Harmless when there is none.
    static void destroy();

    cShaderManager_GLSL(const cShaderManager_GLSL&) = delete;
    cShaderManager_GLSL& operator=(const cShaderManager_GLSL&) = delete;

    // Chooses the shading level for both stages (printing the choice; ends
    // the program with status -1 when the driver has none), installs the
    // error report and creates the context. Needs the GL context.
    void init();

    // Registers a new shader of class T under name; a name that is already
    // registered only earns a warning.
    template <typename T>
    void add_shader(std::string name);

    // Makes the named shader current; "null_shader" unbinds.
    void bind(std::string in_shd_type);
    // Unbinds the current shader, if any, and switches the programs off.
    void unbind();
    // Hands a value to the named shader; the bound shader takes it at once,
    // any other at its next bind.
    void set_parameter(std::string shader_name, int parm_name, cShaderParameterBase* var);

    // Remembers the current shader's name; pop_shader binds it again.
    void push_shader();
    void pop_shader();

    // Compiles every registered shader's program files again. A program
    // that fails prints its report as at start-up and stays as it was; the
    // program goes on. Returns the number that failed.
    int reload_all();
    // Every registered shader's program files, as found at their load.
    std::vector<std::string> program_paths() const;
    // While set, registering a name again is skipped silently (scenes that
    // are created anew register the shaders they share with everyone).
    void set_quiet_repeats(bool quiet) { m_quiet_repeats = quiet; }

    const std::string& current_shader() const { return m_current_shader; }
    // The registered shader of that name, or null.
    cShader* find_shader(const std::string& name) const;
    const std::deque<std::string>& shader_stack() const { return m_prev_shaders; }
    eGlslProfile vertex_profile() const { return m_vertex_profile; }
    eGlslProfile fragment_profile() const { return m_fragment_profile; }

private:
    cShaderManager_GLSL();
    ~cShaderManager_GLSL();

    // Profiles off: no program in use. Profiles on: the program bound last.
    void disable_profiles();
    void enable_profiles();
    // Reports a shader compile or link error with the listing and ends the
    // program.
    static void on_error();

    sGlslContext* m_context = nullptr;
    eGlslProfile m_vertex_profile = GLSL_PROFILE_NONE;
    eGlslProfile m_fragment_profile = GLSL_PROFILE_NONE;
    std::string m_current_shader = kNullShader;
    std::map<std::string, cShader*> m_shaders;
    std::deque<std::string> m_prev_shaders;
    bool m_quiet_repeats = false;
};

template <typename T>
void cShaderManager_GLSL::add_shader(std::string name) {
    if (m_shaders.count(name)) {
        if (m_quiet_repeats)
            return;
        std::cerr << "# warning: shader \"" << name << "\" already exists! Skipping..."
                  << std::endl;
        return;
    }
    cShader* shader = new T(m_context, m_vertex_profile, m_fragment_profile);
    m_shaders[name] = shader;
}
