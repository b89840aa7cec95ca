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
#include <utility>
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

TEST(ShaderPrograms, EveryProgramFileValidates) {
    if (run_command("command -v glslangValidator").exit_code != 0)
        GTEST_SKIP() << "glslangValidator is not installed";
    // A validator that accepts anything would make the check below worthless.
    const std::string broken =
        write_temp_file("broken.frag", "#version 120\nvoid main() { gl_FragColor = vec4(1.0) }\n");
    EXPECT_NE(run_command("glslangValidator '" + broken + "'").exit_code, 0);
    const std::vector<std::string> files = program_files();
    ASSERT_GT(files.size(), 20u);
    for (const std::string& name : files) {
        sCommandResult result = run_command("glslangValidator '" + kShaderDir + "/" + name + "'");
        EXPECT_EQ(result.exit_code, 0) << name << "\n" << result.out << result.err;
    }
}

TEST(GlslProfile, ReadsDriverVersionTextsAndNeedsLevel120AndTheEntryPoints) {
    const std::pair<const char*, int> texts[] = {
        {"1.20", 120}, {"4.60 NVIDIA", 460}, {"1.2", 120}, {"10.00", 1000}, {nullptr, 0},
        {"4.", 0},     {"version 4.50", 0}};
    for (const auto& text : texts)
        EXPECT_EQ(glsl_language_level(text.first), text.second)
            << (text.first ? text.first : "null");
    EXPECT_EQ(choose_glsl_profile(120, true), GLSL_PROFILE_120);
    EXPECT_EQ(choose_glsl_profile(460, true), GLSL_PROFILE_120);
    EXPECT_EQ(choose_glsl_profile(110, true), GLSL_PROFILE_NONE);
    EXPECT_EQ(choose_glsl_profile(460, false), GLSL_PROFILE_NONE);
    EXPECT_STREQ(glsl_profile_name(GLSL_PROFILE_120), "GLSL_120");
}
