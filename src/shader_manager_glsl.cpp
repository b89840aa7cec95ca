#include "shader_manager_glsl.h"

#include "debug.h"

#include <cstdlib>
#include <cstring>

namespace {
cShaderManager_GLSL* g_instance = nullptr;

const char* base_name(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}
} // namespace

cShaderManager_GLSL* cShaderManager_GLSL::instance() {
    if (!g_instance)
        g_instance = new cShaderManager_GLSL();
    return g_instance;
}

void cShaderManager_GLSL::destroy() {
    delete g_instance;
    g_instance = nullptr;
}

cShaderManager_GLSL::cShaderManager_GLSL() = default;

cShaderManager_GLSL::~cShaderManager_GLSL() {
    // The context takes every program with it, so the shaders are freed
    // afterwards without deleting them a second time.
    if (m_context) {
        glsl::destroy_context(m_context);
        m_context = nullptr;
    }
    for (auto& entry : m_shaders)
        delete entry.second;
    m_prev_shaders.clear();
    m_shaders.clear();
    m_current_shader.clear();
    glsl::set_error_callback(nullptr);
}

void cShaderManager_GLSL::init() {
    const bool entry_points = glsl::load_entry_points();
    const int level = glsl_language_level(
        reinterpret_cast<const char*>(glGetString(GL_SHADING_LANGUAGE_VERSION)));

    m_vertex_profile = choose_glsl_profile(level, entry_points);
    if (m_vertex_profile == GLSL_PROFILE_NONE) {
        std::cout << "## ERROR: No vertex-programming capabilities detected - exiting" << std::endl;
        std::exit(-1);
    }
    std::cout << "Chose cg vertex-profile:\t" << glsl_profile_name(m_vertex_profile) << std::endl;

    m_fragment_profile = choose_glsl_profile(level, entry_points);
    if (m_fragment_profile == GLSL_PROFILE_NONE) {
        std::cout << "ERROR: no fragment programming capabilities detected - exiting!" << std::endl;
        std::exit(-1);
    }
    std::cout << "Chose cg fragment-profile:\t" << glsl_profile_name(m_fragment_profile)
              << std::endl;

    glsl::set_error_callback(&cShaderManager_GLSL::on_error);
    if (!m_context)
        m_context = glsl::create_context();
    unbind();
}

void cShaderManager_GLSL::on_error() {
    const glsl::eError error = glsl::get_error();
    if (error == glsl::GLSL_NO_ERROR)
        return;
    const cShaderManager_GLSL* self = g_instance;
    std::cerr << "\n---------------------------------------------------" << std::endl;
    std::cerr << glsl::error_string(error) << std::endl;
    std::cerr << (self && self->m_context ? self->m_context->last_listing : std::string())
              << std::endl;
    std::cerr << "---------------------------------------------------" << std::endl;
    std::cerr << "last-shader: " << (self ? self->m_current_shader : std::string()) << std::endl;
    std::cerr << "Cg error, exiting..." << std::endl;
    std::exit(1);
}

std::vector<std::string> cShaderManager_GLSL::program_paths() const {
    std::vector<std::string> paths;
    for (const auto& entry : m_shaders)
        if (auto* shader = dynamic_cast<const cShader_GLSL*>(entry.second)) {
            const std::vector<std::string> own = shader->program_paths();
            paths.insert(paths.end(), own.begin(), own.end());
        }
    return paths;
}

int cShaderManager_GLSL::reload_all() {
    // The start-up callback ends the program on the first error; a reload
    // reports and goes on.
    glsl::set_error_callback(nullptr);
    int failed = 0;
    for (const auto& entry : m_shaders) {
        auto* shader = dynamic_cast<cShader_GLSL*>(entry.second);
        if (!shader || shader->reload())
            continue;
        ++failed;
        std::cerr << "\n---------------------------------------------------" << std::endl;
        std::cerr << glsl::error_string(glsl::get_error()) << std::endl;
        std::cerr << (m_context ? m_context->last_listing : std::string()) << std::endl;
        std::cerr << "---------------------------------------------------" << std::endl;
        std::cerr << "# warning: \"" << entry.first
                  << "\" keeps its previous program in cShaderManager_GLSL::reload_all"
                  << std::endl;
    }
    glsl::set_error_callback(&cShaderManager_GLSL::on_error);
    return failed;
}

void cShaderManager_GLSL::bind(std::string in_shd_type) {
    if (in_shd_type == kNullShader) {
        unbind();
        return;
    }
    if (m_current_shader != kNullShader) {
        m_shaders[m_current_shader]->unbind();
        disable_profiles();
    }
    enable_profiles();

    auto found = m_shaders.find(in_shd_type);
    if (found == m_shaders.end()) {
        std::cerr << "#WARNING in cShaderManager_GLSL::bind: trying to bind unknown shader: \""
                  << in_shd_type << "\"" << std::endl;
        return;
    }
    m_current_shader = in_shd_type;
    found->second->bind();
}

void cShaderManager_GLSL::unbind() {
    if (!m_context) {
        std::cerr << "## ERROR in " << base_name(__FILE__) << " line " << __LINE__
                  << ": no current CG-context available!" << std::endl;
        return;
    }
    if (m_current_shader == kNullShader)
        return;
    m_shaders[m_current_shader]->unbind();
    m_current_shader = kNullShader;
    disable_profiles();
}

void cShaderManager_GLSL::set_parameter(std::string shader_name, int parm_name,
                                        cShaderParameterBase* var) {
    auto found = m_shaders.find(shader_name);
    if (found == m_shaders.end()) {
        // Callers register before they set; a slip is reported and has no
        // effect rather than reaching through a missing shader.
        std::cerr << "#WARNING in cShaderManager_GLSL::set_parameter: unknown shader: \""
                  << shader_name << "\"" << std::endl;
        return;
    }
    found->second->set_parameter(parm_name, var);
    if (shader_name == m_current_shader)
        found->second->update_parameters();
}

void cShaderManager_GLSL::push_shader() {
    m_prev_shaders.push_back(m_current_shader);
}

void cShaderManager_GLSL::pop_shader() {
    // clang-format off
    VT_ASSERT_MSG(!m_prev_shaders.empty(), "tried to pop empty shaderstack");
    // clang-format on
    const std::string name = m_prev_shaders.back();
    bind(name);
    m_prev_shaders.pop_back();
}

cShader* cShaderManager_GLSL::find_shader(const std::string& name) const {
    auto found = m_shaders.find(name);
    return found == m_shaders.end() ? nullptr : found->second;
}

void cShaderManager_GLSL::disable_profiles() {
    if (m_context)
        glsl::glUseProgram(0);
}

void cShaderManager_GLSL::enable_profiles() {
    if (m_context)
        glsl::glUseProgram(m_context->bound_program);
}
