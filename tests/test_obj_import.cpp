#include "math/vec3.h"
#include "mesh_files/bzobj_parser.h"
#include "mesh_files/obj_import.h"
#include "read_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace {
sCommandResult tool(const std::string& args) {
    return run_command(std::string(VANTREL_TOOL_PATH) + " " + args);
}

sMeshData read_bzobj(const std::string& path) {
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(read_file(path, &bytes));
    sMeshData mesh;
    sBzObjError error;
    EXPECT_TRUE(bzobj_parse(bytes.data(), bytes.size(), path, &mesh, &error)) << error.m_message;
    return mesh;
}

// A unit cube, each face a quad with texture coordinates 0..1. The +x, +y
// and +z faces use "red", the others "blue"; the libraries define blue
// first. Both libraries are named on one line; comments follow statements.
const char* const kCubeObj = "# cube\n"
                             "mtllib blue.mtl red.mtl\n"
                             "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                             "v 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
                             "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                             "usemtl red # the lit side\n"
                             "f 2/1 3/2 7/3 6/4 # +x\n"
                             "usemtl blue\n"
                             "f 1/1 5/2 8/3 4/4\n" // -x
                             "usemtl red\n"
                             "f 4/1 8/2 7/3 3/4\n" // +y
                             "f 5/1 6/2 7/3 8/4\n" // +z
                             "usemtl blue\n"
                             "f 1/1 2/2 6/3 5/4\n"    // -y
                             "f 1/1 4/2 3/3 2/4\r\n"; // -z
const char* const kBlueMtl = "newmtl blue\n"
                             "Ka 0 0 0.2\nKd 0 0 1\nKs 0.5 0.5 0.5\nNs 32\nillum 2\nd 0.75\n"
                             "map_Kd -s 1 1 1 blue sky.png\n";
// Without Ns, Kd under a map or d, values stay zero (opacity 1); Tr is ignored.
const char* const kRedMtl = "newmtl red\n"
                            "Ka 1 0 0\nillum 1\nTr 0.5\nmap_Ka red_amb.png\nmap_Kd red.png\n"
                            "newmtl unused\nKd 0 1 0\n";

sObjModel parsed(const std::string& text) {
    sObjModel model;
    std::string error;
    EXPECT_TRUE(obj_parse(text.data(), text.size(), &model, &error)) << error;
    return model;
}
} // namespace

TEST(ObjImport, CubeWithTwoMaterialLibrariesThroughTheTool) {
    const std::string dir = make_temp_dir("obj_cube");
    const std::string obj = write_temp_file("obj_cube/cube.obj", kCubeObj);
    write_temp_file("obj_cube/blue.mtl", kBlueMtl);
    write_temp_file("obj_cube/red.mtl", kRedMtl);
    const std::string out = dir + "/cube.bzobj";
    sCommandResult result = tool("obj2bzobj " + obj + " " + out);
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.err, "");

    sMeshData mesh = read_bzobj(out);
    EXPECT_EQ(mesh.m_flags, MESH_HAS_TEXCOORDS | MESH_DRAW_BY_MATERIAL);
    EXPECT_EQ(mesh.face_count(), 12u);
    // 24 face corners; only corners 1 and 7 meet the same texture
    // coordinate on all three of their faces and are shared.
    EXPECT_EQ(mesh.vertex_count(), 20u);
    EXPECT_TRUE(mesh.m_norm.empty());
    EXPECT_EQ(mesh.m_matswitches, (std::vector<int32_t>{0, 18, 36}));
    ASSERT_EQ(mesh.m_materials.size(), 2u);

    auto fields = [](const cMaterial_data& m) {
        return std::make_tuple(m.m_name, m.m_texnames[MATTEX_AMBIENT], m.m_texnames[MATTEX_DIFFUSE],
                               m.m_ambient[2], m.m_diffuse[2], m.m_diffuse[3], m.m_shininess,
                               m.m_illum);
    };
    EXPECT_EQ(fields(mesh.m_materials[0]),
              std::make_tuple("blue", "", "blue sky.png", 0.2f, 1.f, 0.75f, 32.f, 2));
    EXPECT_EQ(fields(mesh.m_materials[1]),
              std::make_tuple("red", "red_amb.png", "red.png", 0.f, 0.f, 1.f, 0.f, 1));
}

TEST(ObjImport, NormalsFromTheFileOrComputed) {
    // A square in the z = 0 plane, two triangles sharing an edge, read in
    // two parts; negative indices count back.
    sObjModel model = parsed("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n");
    std::string error;
    const std::string faces = "f 1 2 3\nf -4 -2 -1\n";
    ASSERT_TRUE(obj_parse(faces.data(), faces.size(), &model, &error)) << error;

    sMeshData mesh;
    std::vector<std::string> warnings;
    ASSERT_TRUE(obj_build_mesh(model, {}, false, &mesh, &error, &warnings));
    EXPECT_EQ(mesh.m_flags, 0);
    EXPECT_EQ(mesh.m_indices, (std::vector<int32_t>{0, 1, 2, 0, 2, 3}));

    ASSERT_TRUE(obj_build_mesh(model, {}, true, &mesh, &error, &warnings));
    EXPECT_EQ(mesh.m_flags, MESH_HAS_NORMALS);
    EXPECT_EQ(mesh.m_norm, (std::vector<float>{0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}));

    // Normals given per corner split vertices that share a position.
    const sObjModel two_sided = parsed("v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\nvn 0 0 -1\n"
                                       "f 1//1 2//1 3//1\nf 1//2 3//2 2//2\n");
    ASSERT_TRUE(obj_build_mesh(two_sided, {}, true, &mesh, &error, &warnings));
    EXPECT_EQ(mesh.vertex_count(), 6u);
    EXPECT_EQ(mesh.m_norm[3 * 3 + 2], -1.0f);
    EXPECT_TRUE(warnings.empty());
}

TEST(ObjImport, MaterialGroupsForUnassignedAndUnknownNames) {
    const sObjModel model = parsed("v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                                   "f 1 2 3\nusemtl ghost\nf 3 2 1\nusemtl known\nf 1 3 2\n");
    std::vector<cMaterial_data> library = {cMaterial_data("known")};
    sMeshData mesh;
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(obj_build_mesh(model, library, false, &mesh, &error, &warnings));
    std::vector<std::string> names;
    for (const cMaterial_data& m : mesh.m_materials)
        names.push_back(m.m_name);
    EXPECT_EQ(names, (std::vector<std::string>{"default", "known", "ghost"}));
    EXPECT_EQ(mesh.m_matswitches, (std::vector<int32_t>{0, 3, 6, 9}));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("ghost"), std::string::npos);
}

TEST(ObjImport, MalformedInputIsReportedWithItsLine) {
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {triangle + "# comment\nf 1 2 4\n", "line 5: face corner 3: position 4 of 3"},
        {triangle + "f 1 x 3\n", "line 4: face corner 2: no position"},
        {triangle + "vt 0 0\nf 1/1 2/2 3/1\n", "line 5: face corner 2: texture coordinate 2 of 1"},
        {triangle + "f 1//1 2//1 3//1\n", "line 4: face corner 1: normal 1 of 0"},
        {triangle + "f \nf 1 2 3\nf 1 2\n", "line 6: a face needs at least 3 corners"},
        {"vn 0 0 1\r\nvn 0 0 -1e60\r\n", "line 2: malformed vn"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        sObjModel model;
        std::string error;
        EXPECT_FALSE(obj_parse(c.text.data(), c.text.size(), &model, &error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(ObjImport, ToolReportsFileProblems) {
    const std::string dir = make_temp_dir("obj_files");
    const std::string bad = write_temp_file("obj_files/bad.obj", "v 0 0 0\nf 1 1 2\n");
    sCommandResult result = tool("obj2bzobj " + bad + " " + dir + "/bad.bzobj");
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_NE(result.err.find("bad.obj: line 2: face corner 3: position 2 of 1"), std::string::npos)
        << result.err;

    // A missing library is a warning; its materials become defaults.
    const std::string lost = write_temp_file("obj_files/lost.obj", "mtllib lost.mtl\nv 0 0 0\n"
                                                                   "v 1 0 0\nv 0 1 0\n"
                                                                   "usemtl gone\nf 1 2 3\n");
    result = tool("obj2bzobj " + lost + " " + dir + "/lost.bzobj");
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.err.find("cannot read material library " + dir + "/lost.mtl"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("material gone is not defined"), std::string::npos) << result.err;
    EXPECT_EQ(read_bzobj(dir + "/lost.bzobj").m_materials.at(0).m_name, "gone");
}

TEST(GeometryTool, BzobjAndPthReports) {
    const std::string bad = write_temp_file("bad.bzobj", "not a mesh");
    sCommandResult result = tool("bzobj " + bad);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_NE(result.err.find("# ERROR " + bad + ": "), std::string::npos) << result.err;

    const std::string pth = write_temp_file("tool.pth", "[1, 2, 3] [0, 0, 0] [0, 0, 1]\n");
    result = tool("pth " + pth + " 0.25 2");
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.out.rfind("keys 2\n", 0), 0u) << result.out;
    EXPECT_EQ(tool("pth /nonexistent.pth").exit_code, 1);
}
