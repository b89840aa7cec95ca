// The GLSL back end of the shaders: the GL 2.0 entry points, a small
// "context" that owns every program made through it, error reporting through
// one callback, and cShader_GLSL, the base of every concrete shader class.
#pragma once

#include "gl_entry.h"
#include "glsl_profile.h"
#include "shader.h"

#include <string>
#include <vector>

// The shader entry points, looked up after the GL context exists, as
// X(pointer type, name); the pointers and their look-up table are made from
// this list. Mesa's headers may declare the same names as functions, hence
// the namespace.
#define VT_GLSL_ENTRY_POINTS(X)                                                                    \
    X(PFNGLCREATESHADERPROC, glCreateShader)                                                       \
    X(PFNGLSHADERSOURCEPROC, glShaderSource)                                                       \
    X(PFNGLCOMPILESHADERPROC, glCompileShader)                                                     \
    X(PFNGLGETSHADERIVPROC, glGetShaderiv)                                                         \
    X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)                                               \
    X(PFNGLCREATEPROGRAMPROC, glCreateProgram)                                                     \
    X(PFNGLATTACHSHADERPROC, glAttachShader)                                                       \
    X(PFNGLLINKPROGRAMPROC, glLinkProgram)                                                         \
    X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                                                       \
    X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)                                             \
    X(PFNGLUSEPROGRAMPROC, glUseProgram)                                                           \
    X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)                                           \
    X(PFNGLGETUNIFORMFVPROC, glGetUniformfv)                                                       \
    X(PFNGLUNIFORM1FPROC, glUniform1f)                                                             \
    X(PFNGLUNIFORM2FPROC, glUniform2f)                                                             \
    X(PFNGLUNIFORM1FVPROC, glUniform1fv)                                                           \
    X(PFNGLUNIFORM1IPROC, glUniform1i)                                                             \
    X(PFNGLDELETESHADERPROC, glDeleteShader)                                                       \
    X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)

namespace glsl {
#define VT_GLSL_DECLARE_ENTRY_POINT(type, name) extern type name;
VT_GLSL_ENTRY_POINTS(VT_GLSL_DECLARE_ENTRY_POINT)
#undef VT_GLSL_DECLARE_ENTRY_POINT

// Looks every entry point up; true when all were found.
bool load_entry_points();

enum eError {
    GLSL_NO_ERROR = 0,
    GLSL_INVALID_CONTEXT_ERROR,
    GLSL_FILE_READ_ERROR,
    GLSL_COMPILE_ERROR,
    GLSL_LINK_ERROR,
};

// The pending error is set by raise_error, which then calls the installed
// callback (if any); get_error returns the pending error and clears it.
using ErrorCallback = void (*)();
void set_error_callback(ErrorCallback callback);
void raise_error(eError error);
eError get_error();
const char* error_string(eError error);
} // namespace glsl

// Every GL shader and program object made for the shaders, so that they can
// be released together, and the info log of the last failed compile or link.
struct sGlslContext {
    std::vector<GLuint> shader_objects;
    std::vector<GLuint> programs;
    std::string last_listing;
    // The program the last bound shader made current. Switching the profiles
    // off and on again brings it back, so that drawing goes on with whatever
    // programs were bound last.
    GLuint bound_program = 0;
};

namespace glsl {
sGlslContext* create_context();
// Deletes every object made in the context and the context itself.
void destroy_context(sGlslContext* context);
// A compiled shader object of the given stage from a file; 0 after raising
// an error (unreadable file, compile failure, no context).
GLuint compile_from_file(sGlslContext* context, GLenum stage, const std::string& path);
// A linked program of the two stages; 0 after raising an error.
GLuint link_program(sGlslContext* context, GLuint vertex_shader, GLuint fragment_shader);
// Delete one object of the context before the context itself goes.
void release_shader_object(sGlslContext* context, GLuint shader);
void release_program(sGlslContext* context, GLuint program);
} // namespace glsl

// The base of every concrete shader class: loads the program pair, binds it
// and sets parameters by name. Concrete classes load their files in their
// constructor, then set their initial values.
class cShader_GLSL : public cShader {
public:
    cShader_GLSL(sGlslContext*& context, eGlslProfile& vertex_profile,
                 eGlslProfile& fragment_profile);
    ~cShader_GLSL() override;
    cShader_GLSL(const cShader_GLSL&) = delete;
    cShader_GLSL& operator=(const cShader_GLSL&) = delete;

    bool load_from_files(std::string vertex_file, std::string fragment_file) override;
    void bind() override;
    // Shaders without parameters keep this one, which throws.
    void set_parameter(int parm_name, cShaderParameterBase* var) override;

    // The linked program (0 until loaded).
    GLuint program() const { return m_program; }
    // Compiles and links the program files again (a maker edited them). On
    // success the new program replaces the old one, with the stored
    // parameter values; on failure the old one stays and the error is left
    // pending (glsl::get_error, the context's listing). The caller turns the
    // error callback off first, since that one ends the program.
    bool reload();
    // The program files as found when they were last loaded, with the files
    // they include (none when the program was not made from files).
    std::vector<std::string> program_paths() const;

protected:
    // The location of a uniform of the linked program; -1 when it has none.
    GLint get_named_parameter(const char* name) const;
    // Set a uniform of this shader's program, whichever program is current.
    void set_parameter1f(GLint location, float value);
    void set_parameter2fv(GLint location, const float* values);
    // A uniform array of count floats.
    void set_parameter1fv(GLint location, int count, const float* values);

    sGlslContext*& m_context; // the manager's context, not a copy
    eGlslProfile m_vprof;
    eGlslProfile m_fprof;
    GLuint m_vp = 0; // vertex shader object
    GLuint m_fp = 0; // fragment shader object
    GLuint m_program = 0;

private:
    // Resolves a program file through the search paths; a name found nowhere
    // is used as given, so that the report names the file that is missing.
    static std::string resolve(const std::string& file);

    std::string m_vertex_file; // as given to load_from_files
    std::string m_fragment_file;
    std::string m_vertex_path; // resolved through the search paths
    std::string m_fragment_path;
    // Points the sampler uniforms "texunit0" and "texunit1" at texture units
    // 0 and 1, the units the passes bind their textures to.
    void bind_samplers();
};
