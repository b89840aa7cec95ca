// The shader program files on their own: every one must compile for the
// reference GLSL front end (glslangValidator), whatever the driver at hand
// lets through, and the shading-level choice must read drivers' version
// texts correctly.
#include "glsl_profile.h"
#include "read_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {
const std::string kShaderDir = std::string(VANTREL_SOURCE_DIR) + "/src/shaders";

std::vector<std::string> program_files() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(kShaderDir)) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".vert" || extension == ".frag")
            files.push_back(entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}
} // namespace

TEST(ShaderPrograms, EveryProgramFileValidates) {
    if (run_command("command -v glslangValidator").exit_code != 0)
        GTEST_SKIP() << "glslangValidator is not installed";
    const std::vector<std::string> files = program_files();
    ASSERT_GT(files.size(), 20u);
    // Each program as the loader hands it over, its includes expanded.
    for (const std::string& name : files) {
        std::string text, failed;
        ASSERT_TRUE(read_program_text(kShaderDir + "/" + name, &text, &failed)) << failed;
        const std::string expanded = write_temp_file(name, text);
        sCommandResult result = run_command("glslangValidator '" + expanded + "'");
        EXPECT_EQ(result.exit_code, 0) << name << "\n" << result.out << result.err;
    }
}

// Includes are expanded in place, nested ones too; a missing one fails the
// program and names the file that is missing, as does an include loop.
TEST(ShaderPrograms, IncludesExpandInPlaceAndAMissingOneIsNamed) {
    const std::string dir = make_temp_dir("includes");
    write_temp_file("includes/a.frag", "#version 120\n#include \"b.glsl\"\nvoid main() {}\n");
    write_temp_file("includes/b.glsl", "// b\n#include \"c.glsl\"\n");
    write_temp_file("includes/c.glsl", "float c;");
    std::string text, failed;
    std::vector<std::string> files;
    ASSERT_TRUE(read_program_text(dir + "/a.frag", &text, &failed, &files));
    EXPECT_EQ(text, "#version 120\n// b\nfloat c;void main() {}\n");
    EXPECT_EQ(files.size(), 3u);
    write_temp_file("includes/c.glsl", "#include \"d.glsl\"\n");
    text.clear();
    EXPECT_FALSE(read_program_text(dir + "/a.frag", &text, &failed));
    EXPECT_EQ(failed, dir + "/d.glsl");
    write_temp_file("includes/c.glsl", "#include \"b.glsl\"\n");
    EXPECT_FALSE(read_program_text(dir + "/a.frag", &text, &failed));
}

TEST(GlslProfile, ReadsDriverVersionTextsAndNeedsLevel120AndTheEntryPoints) {
    const std::pair<const char*, int> texts[] = {
        {"4.60 NVIDIA", 460}, {"1.2", 120}, {nullptr, 0}, {"4.", 0}, {"version 4.50", 0}};
    for (const auto& text : texts)
        EXPECT_EQ(glsl_language_level(text.first), text.second)
            << (text.first ? text.first : "null");
    EXPECT_EQ(choose_glsl_profile(120, true), GLSL_PROFILE_120);
    EXPECT_EQ(choose_glsl_profile(110, true), GLSL_PROFILE_NONE);
    EXPECT_EQ(choose_glsl_profile(460, false), GLSL_PROFILE_NONE);
}
