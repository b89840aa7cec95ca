// The shader manager on a real GL context: registration, binding by name,
// parameters, and the report that ends the program when a program file is
// broken.
#include "gl_test_support.h"
#include "resource_path.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_blurtex.h"
#include "shaders/shd_correction.h"
#include "shaders/shd_flare.h"
#include "shaders/shd_levels.h"
#include "shaders/shd_lightmap.h"
#include "shaders/shd_notex.h"
#include "shaders/shd_post_hsb.h"
#include "shaders/shd_post_spilladd.h"
#include "shaders/shd_resample_half.h"
#include "shaders/shd_xray.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {
// A shader built from whatever files the test names.
std::string g_vertex_file;
std::string g_fragment_file;
class cShdFromFiles : public cShader_GLSL {
public:
    cShdFromFiles(sGlslContext*& context, eGlslProfile& vertex_profile,
                  eGlslProfile& fragment_profile)
        : cShader_GLSL(context, vertex_profile, fragment_profile) {
        load_from_files(g_vertex_file, g_fragment_file);
    }
    void init_parameters() override {}
    void update_parameters() override {}
    void unbind() override {}
};

const char* const kPostVertex = "#version 120\nvoid main() { gl_Position = ftransform(); }\n";

class ShaderManagerTest : public testing::Test {
protected:
    void SetUp() override {
        ensure_gl_context();
        cShaderManager_GLSL::destroy(); // a fresh manager, whatever ran before
        cResourcePath* paths = cResourcePath::instance();
        if (paths->get_fullpath("blurtex.vert").empty())
            paths->push_searchpath(std::string(VANTREL_SOURCE_DIR) + "/src/shaders");
        testing::internal::CaptureStdout();
        manager()->init();
        m_init_output = testing::internal::GetCapturedStdout();
    }
    // Other tests find a working manager again (without these registrations).
    void TearDown() override {
        cShaderManager_GLSL::destroy();
        ready_shader_manager();
    }

    static cShaderManager_GLSL* manager() { return cShaderManager_GLSL::instance(); }

    static GLuint program_of(const std::string& name) {
        auto* shader = dynamic_cast<cShader_GLSL*>(manager()->find_shader(name));
        return shader ? shader->program() : 0;
    }
    static GLuint current_program() { return GLuint(gl_int(GL_CURRENT_PROGRAM)); }
    // The manager names the shader and GL runs its program (none for null).
    static void expect_bound(const std::string& name) {
        EXPECT_EQ(manager()->current_shader(), name);
        EXPECT_EQ(current_program(), name == "null_shader" ? 0u : program_of(name));
    }
    // The value a uniform holds in the shader's program right now.
    static float uniform(const std::string& shader, const char* name) {
        const GLint location = glsl::glGetUniformLocation(program_of(shader), name);
        EXPECT_GE(location, 0) << shader << " " << name;
        float value = -99.0f;
        glsl::glGetUniformfv(program_of(shader), location, &value);
        return value;
    }
    static void set_float(const std::string& shader, int parm_name, float value) {
        cShaderParameter<float> carrier(value);
        manager()->set_parameter(shader, parm_name, &carrier);
    }

    std::string m_init_output;
};

using ShaderManagerDeathTest = ShaderManagerTest;
} // namespace

TEST_F(ShaderManagerTest, RegistersEveryShaderOnceAndFindsItsParameters) {
    testing::internal::CaptureStderr();
    manager()->add_shader<cShdBlurTex>("blur_shader");
    manager()->add_shader<cShdPostHSB>("hsb_shader");
    manager()->add_shader<cShdLevels>("levels_shader");
    manager()->add_shader<cShdCorrection>("color_correction_shader");
    manager()->add_shader<cShdPostSpillAdd>("spill_shader");
    manager()->add_shader<cShdResampleHalf>("half_resample_shader");
    manager()->add_shader<cShdLightmap>("lightmap_shader");
    manager()->add_shader<cShdNotex>("notex_shader");
    manager()->add_shader<cShdXray>("xray_shader");
    manager()->add_shader<cShdFlare>("flare_shader");
    // No "unable to get parameters" and no driver complaint.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(manager()->find_shader("null_shader"), nullptr);
}

TEST_F(ShaderManagerTest, BindingByNameAndParametersReachTheBoundShaderAtOnceOthersAtTheirBind) {
    manager()->add_shader<cShdLevels>("levels_shader");
    manager()->add_shader<cShdXray>("xray_shader");
    EXPECT_EQ(m_init_output, "Chose cg vertex-profile:\tGLSL_120\n"
                             "Chose cg fragment-profile:\tGLSL_120\n");
    manager()->bind("levels_shader");
    expect_bound("levels_shader");

    set_float("levels_shader", cShdLevels::SP_GAMMA, 2.0f);
    EXPECT_EQ(uniform("levels_shader", "Gamma"), 2.0f);
    set_float("xray_shader", cShdXray::SP_INV, 1.0f);
    EXPECT_EQ(uniform("xray_shader", "inv"), 0.0f);
    EXPECT_EQ(current_program(), program_of("levels_shader"));
    // Rebinding the current shader uploads its stored values again.
    glsl::glUniform1f(glsl::glGetUniformLocation(program_of("levels_shader"), "Gamma"), 7.0f);
    manager()->bind("levels_shader");
    EXPECT_EQ(uniform("levels_shader", "Gamma"), 2.0f);
    manager()->bind("xray_shader");
    EXPECT_EQ(uniform("xray_shader", "inv"), 1.0f);

    // An unknown name is reported; the shader bound before stays in effect.
    testing::internal::CaptureStderr();
    manager()->bind("no_such_shader");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "#WARNING in cShaderManager_GLSL::bind: trying to bind unknown shader: "
              "\"no_such_shader\"\n");
    expect_bound("xray_shader");

    // Binding the null shader is unbinding.
    manager()->bind("null_shader");
    expect_bound("null_shader");
}

TEST_F(ShaderManagerDeathTest, AMismatchedParameterOrABrokenProgramEndsTheProgram) {
    // The renderer runs threads: a fresh process is safer than a fork.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    manager()->add_shader<cShdLevels>("levels_shader");
    cShaderParameter<float> one(1.0f);
    EXPECT_DEATH(manager()->set_parameter("levels_shader", 1, &one),
                 "Assertion failed: varlist \\(input mismatch\\)");

    manager()->bind("levels_shader");
    make_temp_dir("shaders");
    g_vertex_file = write_temp_file("shaders/pass.vert", kPostVertex);

    // A syntax error: the driver's log is the listing.
    g_fragment_file = write_temp_file(
        "shaders/syntax.frag", "#version 120\nvoid main()\n{\n    gl_FragColor = vec4(1.0)\n}\n");
    EXPECT_EXIT(manager()->add_shader<cShdFromFiles>("broken"), testing::ExitedWithCode(1),
                "\n-{51}\nThe compile returned an error\\.\n"
                ".*syntax\\.frag:\n.*error.*\n"
                "-{51}\nlast-shader: levels_shader\nCg error, exiting\\.\\.\\.\n$");
    // Without the manager's report (as during a reload) the shader names the
    // file itself; a program that does not build is a failure all the same.
    glsl::set_error_callback(nullptr);
    EXPECT_EXIT(manager()->add_shader<cShdFromFiles>("broken"), testing::ExitedWithCode(1),
                "## ERROR: cShader_GLSL::load_from_files\\(\\) failed on .*syntax\\.frag\n$");
}
