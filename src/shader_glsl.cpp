#include "shader_glsl.h"

#include "debug.h"
#include "read_file.h"
#include "resource_path.h"

#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

namespace glsl {
#define VT_GLSL_DEFINE_ENTRY_POINT(type, name) type name = nullptr;
VT_GLSL_ENTRY_POINTS(VT_GLSL_DEFINE_ENTRY_POINT)
#undef VT_GLSL_DEFINE_ENTRY_POINT

namespace {
struct sSlot {
    const char* name;
    void** slot;
};
#define VT_GLSL_TABLE_ENTRY(type, name) {#name, reinterpret_cast<void**>(&name)},
const sSlot kEntryPoints[] = {VT_GLSL_ENTRY_POINTS(VT_GLSL_TABLE_ENTRY)};
#undef VT_GLSL_TABLE_ENTRY

ErrorCallback g_callback = nullptr;
eError g_error = GLSL_NO_ERROR;

// Info logs end with a line break; the report adds its own.
std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string shader_log(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(std::size_t(std::max(length, 1)), '\0');
    GLsizei written = 0;
    glGetShaderInfoLog(shader, GLsizei(log.size()), &written, &log[0]);
    log.resize(std::size_t(std::max(written, 0)));
    return trimmed(log);
}

std::string program_log(GLuint program) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(std::size_t(std::max(length, 1)), '\0');
    GLsizei written = 0;
    glGetProgramInfoLog(program, GLsizei(log.size()), &written, &log[0]);
    log.resize(std::size_t(std::max(written, 0)));
    return trimmed(log);
}

void forget(std::vector<GLuint>& objects, GLuint object) {
    objects.erase(std::remove(objects.begin(), objects.end(), object), objects.end());
}
} // namespace

bool load_entry_points() {
    bool all = true;
    for (const sSlot& entry : kEntryPoints) {
        *entry.slot = SDL_GL_GetProcAddress(entry.name);
        if (!*entry.slot)
            all = false;
    }
    return all;
}

void set_error_callback(ErrorCallback callback) {
    g_callback = callback;
}

void raise_error(eError error) {
    g_error = error;
    if (g_callback)
        g_callback();
}

eError get_error() {
    eError error = g_error;
    g_error = GLSL_NO_ERROR;
    return error;
}

const char* error_string(eError error) {
    switch (error) {
    case GLSL_NO_ERROR:
        return "No error has occurred.";
    case GLSL_INVALID_CONTEXT_ERROR:
        return "Invalid context handle.";
    case GLSL_FILE_READ_ERROR:
        return "The file could not be read.";
    case GLSL_COMPILE_ERROR:
        return "The compile returned an error.";
    case GLSL_LINK_ERROR:
        return "The program could not be linked.";
    }
    return "Unknown error.";
}

sGlslContext* create_context() {
    return new sGlslContext();
}

void destroy_context(sGlslContext* context) {
    if (!context)
        return;
    // Without a current GL context (after the window closed) the objects are
    // already gone with it.
    if (SDL_GL_GetCurrentContext() && glUseProgram) {
        glUseProgram(0);
        for (GLuint program : context->programs)
            glDeleteProgram(program);
        for (GLuint shader : context->shader_objects)
            glDeleteShader(shader);
    }
    delete context;
}

GLuint compile_from_file(sGlslContext* context, GLenum stage, const std::string& path) {
    if (!context) {
        raise_error(GLSL_INVALID_CONTEXT_ERROR);
        return 0;
    }
    std::string source, failed;
    if (!read_program_text(path, &source, &failed)) {
        context->last_listing = "cannot read \"" + failed + "\"";
        raise_error(GLSL_FILE_READ_ERROR);
        return 0;
    }
    const GLchar* text = source.c_str();
    const GLint length = GLint(source.size());

    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        context->last_listing = path + ":\n" + shader_log(shader);
        glDeleteShader(shader);
        raise_error(GLSL_COMPILE_ERROR);
        return 0;
    }
    context->shader_objects.push_back(shader);
    return shader;
}

GLuint link_program(sGlslContext* context, GLuint vertex_shader, GLuint fragment_shader) {
    if (!context) {
        raise_error(GLSL_INVALID_CONTEXT_ERROR);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex_shader);
    glAttachShader(program, fragment_shader);
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        context->last_listing = "link:\n" + program_log(program);
        glDeleteProgram(program);
        raise_error(GLSL_LINK_ERROR);
        return 0;
    }
    context->programs.push_back(program);
    return program;
}

// Deletes one object of the context (a shader being freed on its own).
void release_shader_object(sGlslContext* context, GLuint shader) {
    forget(context->shader_objects, shader);
    glDeleteShader(shader);
}

void release_program(sGlslContext* context, GLuint program) {
    forget(context->programs, program);
    if (context->bound_program == program)
        context->bound_program = 0;
    glDeleteProgram(program);
}
} // namespace glsl

cShader_GLSL::cShader_GLSL(sGlslContext*& context, eGlslProfile& vertex_profile,
                           eGlslProfile& fragment_profile)
    : m_context(context), m_vprof(vertex_profile), m_fprof(fragment_profile) {}

cShader_GLSL::~cShader_GLSL() {
    // When the manager shuts down it releases the context first, and with
    // it every program; only a shader freed on its own deletes its objects.
    if (!m_context || !SDL_GL_GetCurrentContext())
        return;
    if (m_program)
        glsl::release_program(m_context, m_program);
    if (m_vp)
        glsl::release_shader_object(m_context, m_vp);
    if (m_fp)
        glsl::release_shader_object(m_context, m_fp);
}

std::string cShader_GLSL::resolve(const std::string& file) {
    std::string path = cResourcePath::instance()->get_fullpath(file);
    return path.empty() ? file : path;
}

bool cShader_GLSL::load_from_files(std::string vertex_file, std::string fragment_file) {
    m_vertex_file = vertex_file;
    m_fragment_file = fragment_file;
    const std::string vertex_path = resolve(vertex_file);
    const std::string fragment_path = resolve(fragment_file);
    m_vertex_path = vertex_path;
    m_fragment_path = fragment_path;

    m_vp = glsl::compile_from_file(m_context, GL_VERTEX_SHADER, vertex_path);
    m_fp = glsl::compile_from_file(m_context, GL_FRAGMENT_SHADER, fragment_path);
    if (!m_vp) {
        std::cerr << "## ERROR: cShader_GLSL::load_from_files() failed on " << vertex_file
                  << std::endl;
        std::exit(1);
    }
    if (!m_fp) {
        std::cerr << "## ERROR: cShader_GLSL::load_from_files() failed on " << fragment_file
                  << std::endl;
        std::exit(1);
    }
    m_program = glsl::link_program(m_context, m_vp, m_fp);
    if (!m_program) {
        std::cerr << "## ERROR: cShader_GLSL::load_from_files() failed on " << vertex_file
                  << " and " << fragment_file << std::endl;
        std::exit(1);
    }
    bind_samplers();
    init_parameters();
    return true;
}

std::vector<std::string> cShader_GLSL::program_paths() const {
    if (m_vertex_file.empty())
        return {};
    // With the files they include: an edit of a shared stage counts too.
    std::vector<std::string> paths;
    for (const std::string& path : {m_vertex_path, m_fragment_path}) {
        std::string text, failed;
        if (!read_program_text(path, &text, &failed, &paths))
            paths.push_back(failed); // unreadable now: watched for its return
    }
    return paths;
}

bool cShader_GLSL::reload() {
    if (m_vertex_file.empty())
        return true; // not made from files
    const GLuint vp = glsl::compile_from_file(m_context, GL_VERTEX_SHADER, resolve(m_vertex_file));
    if (!vp)
        return false;
    const GLuint fp =
        glsl::compile_from_file(m_context, GL_FRAGMENT_SHADER, resolve(m_fragment_file));
    if (!fp) {
        glsl::release_shader_object(m_context, vp);
        return false;
    }
    const GLuint program = glsl::link_program(m_context, vp, fp);
    if (!program) {
        glsl::release_shader_object(m_context, vp);
        glsl::release_shader_object(m_context, fp);
        return false;
    }
    const bool was_bound = m_context->bound_program == m_program;
    glsl::release_program(m_context, m_program);
    glsl::release_shader_object(m_context, m_vp);
    glsl::release_shader_object(m_context, m_fp);
    m_vp = vp;
    m_fp = fp;
    m_program = program;
    bind_samplers();
    init_parameters();
    if (was_bound) {
        glsl::glUseProgram(m_program);
        m_context->bound_program = m_program;
    }
    // The values the callers handed over reach the new program now.
    update_parameters();
    return true;
}

void cShader_GLSL::bind() {
    VT_ASSERT(m_context);
    VT_ASSERT(m_vprof);
    VT_ASSERT(m_fprof);
    VT_ASSERT(m_vp);
    if (m_vp && m_fp) {
        glsl::glUseProgram(m_program);
        m_context->bound_program = m_program;
    }
    update_parameters();
}

void cShader_GLSL::set_parameter(int, cShaderParameterBase*) {
    throw std::runtime_error("set_parameter not implemented for this shader");
}

GLint cShader_GLSL::get_named_parameter(const char* name) const {
    return glsl::glGetUniformLocation(m_program, name);
}

// GL 2.0 sets uniforms on the current program only; parameters belong to
// their shader whether it is bound or not, so switch over for the moment.
void cShader_GLSL::set_parameter1f(GLint location, float value) {
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    if (GLuint(current) != m_program)
        glsl::glUseProgram(m_program);
    glsl::glUniform1f(location, value);
    if (GLuint(current) != m_program)
        glsl::glUseProgram(GLuint(current));
}

void cShader_GLSL::set_parameter2fv(GLint location, const float* values) {
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    if (GLuint(current) != m_program)
        glsl::glUseProgram(m_program);
    glsl::glUniform2f(location, values[0], values[1]);
    if (GLuint(current) != m_program)
        glsl::glUseProgram(GLuint(current));
}

void cShader_GLSL::set_parameter1fv(GLint location, int count, const float* values) {
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    if (GLuint(current) != m_program)
        glsl::glUseProgram(m_program);
    glsl::glUniform1fv(location, count, values);
    if (GLuint(current) != m_program)
        glsl::glUseProgram(GLuint(current));
}

void cShader_GLSL::bind_samplers() {
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    glsl::glUseProgram(m_program);
    const GLint unit0 = get_named_parameter("texunit0");
    if (unit0 >= 0)
        glsl::glUniform1i(unit0, 0);
    const GLint unit1 = get_named_parameter("texunit1");
    if (unit1 >= 0)
        glsl::glUniform1i(unit1, 1);
    glsl::glUseProgram(GLuint(current));
}
