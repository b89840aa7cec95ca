// The shader program files on their own: every one must compile for the
// reference GLSL front end (glslangValidator), whatever the driver at hand
// lets through, and the shading-level choice must read drivers' version
// texts correctly.
#include "glsl_profile.h"
#include "test_support.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
const std::string kShaderDir = std::string(VANTREL_SOURCE_DIR) + "/src/shaders";

std::vector<std::string> program_files() {
    std::vector<std::string> files;
    if (DIR* dir = opendir(kShaderDir.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            auto ends_with = [&](const std::string& suffix) {
                return name.size() > suffix.size() &&
                       name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
            };
            if (ends_with(".vert") || ends_with(".frag"))
                files.push_back(name);
        }
        closedir(dir);
    }
    std::sort(files.begin(), files.end());
    return files;
}
} // namespace

TEST(ShaderPrograms, EveryShaderClassHasItsPair) {
    const std::vector<std::string> files = program_files();
    for (const char* stem :
         {"blurtex", "post_hsb", "post_levels", "post_correction", "post_spilladd", "resample_half",
          "lightmap", "notex", "xray", "flare", "point_sprite"}) {
        for (const char* stage : {".vert", ".frag"}) {
            const std::string name = std::string(stem) + stage;
            EXPECT_NE(std::find(files.begin(), files.end(), name), files.end()) << name;
        }
    }
}

TEST(ShaderPrograms, EveryProgramFileValidates) {
    if (run_command("command -v glslangValidator").exit_code != 0)
        GTEST_SKIP() << "glslangValidator is not installed";
    const std::vector<std::string> files = program_files();
    ASSERT_FALSE(files.empty());
    for (const std::string& name : files) {
        sCommandResult result = run_command("glslangValidator '" + kShaderDir + "/" + name + "'");
        EXPECT_EQ(result.exit_code, 0) << name << "\n" << result.out << result.err;
    }
}

TEST(ShaderPrograms, ValidatorRejectsABrokenProgram) {
    // Guards the test above against a validator that accepts anything.
    if (run_command("command -v glslangValidator").exit_code != 0)
        GTEST_SKIP() << "glslangValidator is not installed";
    const std::string path =
        write_temp_file("broken.frag", "#version 120\nvoid main() { gl_FragColor = vec4(1.0) }\n");
    EXPECT_NE(run_command("glslangValidator '" + path + "'").exit_code, 0);
}

TEST(GlslProfile, ReadsDriverVersionTexts) {
    EXPECT_EQ(glsl_language_level("1.20"), 120);
    EXPECT_EQ(glsl_language_level("1.10 Mesa"), 110);
    EXPECT_EQ(glsl_language_level("4.50"), 450);
    EXPECT_EQ(glsl_language_level("4.60 NVIDIA"), 460);
    EXPECT_EQ(glsl_language_level("1.2"), 120);
    EXPECT_EQ(glsl_language_level("10.00"), 1000);
    EXPECT_EQ(glsl_language_level(nullptr), 0);
    EXPECT_EQ(glsl_language_level(""), 0);
    EXPECT_EQ(glsl_language_level("4"), 0);
    EXPECT_EQ(glsl_language_level("4."), 0);
    EXPECT_EQ(glsl_language_level("version 4.50"), 0);
    EXPECT_EQ(glsl_language_level("OpenGL ES GLSL ES 3.20"), 0);
}

TEST(GlslProfile, NeedsLevel120AndTheEntryPoints) {
    EXPECT_EQ(choose_glsl_profile(120, true), GLSL_PROFILE_120);
    EXPECT_EQ(choose_glsl_profile(460, true), GLSL_PROFILE_120);
    EXPECT_EQ(choose_glsl_profile(110, true), GLSL_PROFILE_NONE);
    EXPECT_EQ(choose_glsl_profile(0, true), GLSL_PROFILE_NONE);
    EXPECT_EQ(choose_glsl_profile(460, false), GLSL_PROFILE_NONE);
    EXPECT_STREQ(glsl_profile_name(GLSL_PROFILE_120), "GLSL_120");
}
