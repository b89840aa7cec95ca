#include "mesh_files/bzobj_loader.h"
#include "mesh_files/bzobj_parser.h"
#include "mesh_files/bzobj_writer.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>
#include <zlib.h>

namespace {
// ---- Building payloads byte by byte -------------------------------------

std::string le32(uint32_t v) {
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

std::string i32s(std::initializer_list<int32_t> values) {
    std::string s;
    for (int32_t v : values)
        s += le32(uint32_t(v));
    return s;
}

std::string f32s(std::initializer_list<float> values) {
    std::string s;
    for (float v : values) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        s += le32(bits);
    }
    return s;
}

std::string counts(uint8_t flags, int32_t verts, int32_t faces, int32_t materials) {
    return std::string(1, char(flags)) + i32s({verts, faces, materials});
}

// Three vertices on the axes, one triangle, marker 0.
std::string triangle_payload(uint8_t flags = 0, int32_t materials = 0) {
    return counts(flags, 3, 1, materials) + f32s({1, 0, 0, 0, 1, 0, 0, 0, 1}) + i32s({0, 1, 2}) +
           i32s({0});
}

std::string material_record(const std::string& name, const std::string texnames[5],
                            float shininess = 8, int32_t illum = 2, float opacity = 0.5f) {
    std::string s(1, char(name.size()));
    for (int t = 0; t < 5; ++t)
        s += char(texnames[t].size());
    s += name;
    for (int t = 0; t < 5; ++t)
        s += texnames[t];
    s += f32s({0.1f, 0.2f, 0.3f, 0.4f}) + f32s({0.5f, 0.6f, 0.7f, 0.8f}) +
         f32s({0.9f, 1.0f, 1.1f, 1.2f});
    return s + f32s({shininess}) + i32s({illum}) + f32s({opacity, 3.5f});
}

std::string file_of(const std::string& payload) {
    uLongf packed = compressBound(uLong(payload.size()));
    std::string out(packed, '\0');
    compress(reinterpret_cast<Bytef*>(&out[0]), &packed,
             reinterpret_cast<const Bytef*>(payload.data()), uLong(payload.size()));
    out.resize(packed);
    return le32(uint32_t(payload.size())) + le32(uint32_t(packed)) + out;
}

// The bytes go into a buffer of exactly their size so that the sanitizer
// build catches any read past the end.
struct sParsed {
    bool ok = false;
    sMeshData mesh;
    sBzObjError error;
};

// A whole file (size header and zlib stream) or the inflated payload alone.
sParsed parse(const std::string& bytes, bool whole_file) {
    std::vector<uint8_t> buffer(bytes.begin(), bytes.end());
    sParsed r;
    r.ok = (whole_file ? bzobj_parse : bzobj_parse_payload)(buffer.data(), buffer.size(),
                                                            "test.bzobj", &r.mesh, &r.error);
    return r;
}

sParsed parse_payload(const std::string& payload) {
    return parse(payload, false);
}

void expect_rejected(const sParsed& r, eBzObjError code) {
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.m_code, code) << r.error.m_message;
    EXPECT_EQ(r.error.m_message.rfind("test.bzobj: ", 0), 0u) << r.error.m_message;
    EXPECT_TRUE(r.mesh.m_pos.empty() && r.mesh.m_indices.empty() && r.mesh.m_materials.empty());
}

template <typename T>
std::string raw(const T* values, std::size_t count) {
    return std::string(reinterpret_cast<const char*>(values), count * sizeof(T));
}

// Every field the format stores, bit for bit (the sign of zero and denormals too).
std::string stored_fields(const sMeshData& m) {
    std::string s = std::to_string(m.m_flags) + raw(m.m_pos.data(), m.m_pos.size()) + "|" +
                    raw(m.m_norm.data(), m.m_norm.size()) + "|" +
                    raw(m.m_tex0.data(), m.m_tex0.size()) + "|" +
                    raw(m.m_indices.data(), m.m_indices.size()) + "|" +
                    raw(m.m_matswitches.data(), m.m_matswitches.size());
    for (const cMaterial_data& x : m.m_materials) {
        s += "|" + x.m_name;
        for (const std::string& t : x.m_texnames)
            s += "|" + t;
        s += raw(x.m_ambient, 4) + raw(x.m_diffuse, 4) + raw(x.m_specular, 4) +
             raw(&x.m_shininess, 1) + raw(&x.m_illum, 1) + raw(&x.m_opacity, 1) +
             raw(&x.m_scalar2, 1);
    }
    return s;
}

const std::string kNoTextures[5] = {"", "", "", "", ""};
} // namespace

// ---- Layout --------------------------------------------------------------

TEST(BzObjParse, FlagsChooseTheArraysNormalsComeBeforeTextureCoordinates) {
    // Unused flag bits stay.
    sParsed r = parse_payload(counts(0x93, 3, 1, 0) + f32s({1, 2, 3, 4, 5, 6, 7, 8, 9}) +
                              f32s({0, 0, 1, 0, 1, 0, 1, 0, 0}) + f32s({0.5f, 1, 0, 0, 1, 1}) +
                              i32s({2, 1, 0}) + i32s({0}));
    ASSERT_TRUE(r.ok) << r.error.m_message;
    EXPECT_EQ(r.mesh.m_flags, 0x93);
    EXPECT_EQ(r.mesh.m_norm, (std::vector<float>{0, 0, 1, 0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(r.mesh.m_tex0, (std::vector<float>{0.5f, 1, 0, 0, 1, 1}));
}

TEST(BzObjParse, CornerPlanesAreDeltaCodedAndNonZeroMarkersStartRanges) {
    // Plane 0 [5, 1, -2] gives first corners 5, 6, 4.
    sParsed r = parse_payload(counts(0, 7, 3, 0) + std::string(7 * 12, '\0') + i32s({5, 1, -2}) +
                              i32s({0, 1, 1}) + i32s({6, -6, 3}) + i32s({0, 0, 0}));
    ASSERT_TRUE(r.ok) << r.error.m_message;
    EXPECT_EQ(r.mesh.m_indices, (std::vector<int32_t>{5, 0, 6, 6, 1, 0, 4, 2, 3}));

    // The first marker is never read, even when negative; 1 and 7 act alike.
    r = parse_payload(counts(0x10, 3, 5, 0) + std::string(3 * 12 + 5 * 12, '\0') +
                      i32s({-5, 0, 1, 0, 7}));
    ASSERT_TRUE(r.ok) << r.error.m_message;
    EXPECT_EQ(r.mesh.m_matswitches, (std::vector<int32_t>{0, 6, 12, 15}));
}

TEST(BzObjParse, MaterialRecords) {
    const std::string names[5] = {"amb.png", "diff.jpg", "", "x", "tile.png"};
    // An embedded zero ends a name, as the string buffer of the format does.
    sParsed r =
        parse_payload(triangle_payload(0x10, 2) + material_record(std::string("ab\0cd", 5), names) +
                      material_record("", kNoTextures, 0, 4, 1));
    ASSERT_TRUE(r.ok) << r.error.m_message;
    ASSERT_EQ(r.mesh.m_materials.size(), 2u);
    const cMaterial_data& m = r.mesh.m_materials[0];
    EXPECT_EQ(m.m_name, "ab");
    EXPECT_TRUE(std::equal(names, names + 5, m.m_texnames.begin()));
    EXPECT_EQ(raw(m.m_ambient, 4) + raw(m.m_diffuse, 4) + raw(m.m_specular, 4),
              f32s({0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f, 1.0f, 1.1f, 1.2f}));
    EXPECT_EQ(std::make_tuple(m.m_shininess, m.m_illum, m.m_opacity, m.m_scalar2),
              std::make_tuple(8.0f, 2, 0.5f, 3.5f));
    EXPECT_EQ(r.mesh.m_materials[1].m_illum, 4);
}

// ---- Damaged input -------------------------------------------------------

TEST(BzObjParse, EveryTruncationIsRejected) {
    const std::string names[5] = {"a", "bb", "", "", "c"};
    const std::string payload =
        triangle_payload(0x10, 2) + material_record("m", names) + material_record("n", names);
    ASSERT_TRUE(parse_payload(payload).ok);
    for (std::size_t cut = 0; cut < payload.size(); ++cut) {
        SCOPED_TRACE(cut);
        expect_rejected(parse_payload(payload.substr(0, cut)), BZOBJ_TRUNCATED);
    }
}

TEST(BzObjParse, DamagedInputIsRejectedWithItsReason) {
    const std::string pad(100, '\0'), good = file_of(triangle_payload());
    std::string negative = triangle_payload(0, 1) + material_record("m", kNoTextures);
    negative[triangle_payload(0, 1).size() + 2] = char(0x80); // texture name 2 length -128
    std::string corrupt = good;
    corrupt.back() ^= 0x01; // the checksum
    auto with_plane0 = [](std::initializer_list<int32_t> plane0) {
        return counts(0, 3, 2, 0) + std::string(36, '\0') + i32s(plane0) + std::string(24, '\0');
    };
    ASSERT_TRUE(parse_payload(with_plane0({2, -2})).ok);
    // A stream shorter than the header says: only the inflated bytes count.
    ASSERT_TRUE(parse(le32(200) + good.substr(4), true).ok);
    const int any = 12345;
    const struct {
        const char* what;
        bool whole_file;
        std::string bytes;
        eBzObjError code;
        int value;
    } cases[] = {
        {"no vertices", false, counts(0, 0, 1, 0) + pad, BZOBJ_VERTEX_COUNT, any},
        // Counts far beyond the payload are refused before anything is allocated.
        {"huge counts", false, counts(0x13, INT32_MAX, INT32_MAX, 0), BZOBJ_TRUNCATED, any},
        {"negative name length", false, negative, BZOBJ_NEGATIVE_LENGTH, -128},
        {"negative marker", false, counts(0, 3, 2, 0) + std::string(60, '\0') + i32s({0, -1}),
         BZOBJ_MARKER, any},
        {"index = vertex count", false, with_plane0({3, 0}), BZOBJ_INDEX_RANGE, 3},
        // The running sum wraps like 32-bit integers instead of overflowing.
        {"wrapping index", false, with_plane0({1, INT32_MAX}), BZOBJ_INDEX_RANGE, INT32_MIN},
        {"short header", true, good.substr(0, 7), BZOBJ_BAD_HEADER, any},
        {"huge size", true, le32(0xFFFFFFFFu) + good.substr(4), BZOBJ_TOO_LARGE, any},
        {"bad checksum", true, corrupt, BZOBJ_ZLIB, Z_DATA_ERROR},
        // A stream longer than the size in the header does not fit the buffer.
        {"stream past the size", true, le32(10) + good.substr(4), BZOBJ_ZLIB, Z_BUF_ERROR}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const sParsed r = parse(c.bytes, c.whole_file);
        expect_rejected(r, c.code);
        if (c.value != any) {
            EXPECT_EQ(r.error.m_value, c.value);
        }
    }
}

// ---- Writer --------------------------------------------------------------

TEST(BzObjWriter, RoundTripGivesTheSameMesh) {
    sMeshData mesh;
    mesh.m_flags = 0x80 | MESH_DRAW_BY_MATERIAL | MESH_HAS_NORMALS | MESH_HAS_TEXCOORDS;
    for (int v = 0; v < 6; ++v) {
        mesh.m_pos.insert(mesh.m_pos.end(), {float(v), -0.0f, 1e-40f * float(v)});
        mesh.m_norm.insert(mesh.m_norm.end(), {0, 1, 0});
        mesh.m_tex0.insert(mesh.m_tex0.end(), {0.25f * float(v), 1});
    }
    mesh.m_indices = {5, 0, 1, 0, 5, 2, 3, 4, 5, 1, 1, 1};
    mesh.m_matswitches = {0, 3, 9, 12};
    const std::string names[5] = {"a.png", "", "c", "", std::string(127, 'f')};
    for (int m = 0; m < 3; ++m) {
        mesh.m_materials.emplace_back("mat" + std::to_string(m));
        mesh.m_materials.back().m_texnames[MATTEX_AMBIENT] = names[m];
        mesh.m_materials.back().m_texnames[MATTEX_FALLBACK] = names[4];
        mesh.m_materials.back().m_diffuse[m] = 0.5f;
        mesh.m_materials.back().m_illum = m;
        mesh.m_materials.back().m_scalar2 = 7;
    }
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(bzobj_encode(mesh, &bytes, &error)) << error;
    sParsed r = parse(std::string(bytes.begin(), bytes.end()), true);
    ASSERT_TRUE(r.ok) << r.error.m_message;
    EXPECT_TRUE(stored_fields(r.mesh) == stored_fields(mesh));
}

TEST(BzObjWriter, RefusesMeshesTheFormatCannotHold) {
    sMeshData base;
    base.m_pos = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    base.m_indices = {0, 1, 2, 2, 1, 0};
    base.m_matswitches = {0, 6};
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(bzobj_encode(base, &bytes, &error));

    sMeshData bad[3] = {base, base, base};
    bad[0].m_indices = {0, 1, 3, 2, 1, 0}; // an index past the vertices
    bad[1].m_matswitches = {0, 4, 6};      // a range not of whole triangles
    bad[2].m_materials.emplace_back(std::string(128, 'x'));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(bzobj_encode(bad[i], &bytes, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(bytes.empty());
    }
}

// ---- Loader --------------------------------------------------------------

TEST(BzObjLoaderDeathTest, MissingOrDamagedFilesEndTheProcess) {
    sMeshData mesh;
    EXPECT_EXIT(BzObjLoader::load("no_such_mesh.bzobj", &mesh), testing::ExitedWithCode(255),
                "# ERROR - couldn't find no_such_mesh.bzobj from BzObjLoader::create\n"
                "# ERROR opening file  in bobj_load_compressed\n");
    // Damage in the file, counts included, is one line naming the file and
    // status 1 through the exit handlers, never an assertion.
    std::string corrupt = file_of(triangle_payload());
    corrupt.back() ^= 0x01; // the checksum
    const std::string pad(100, '\0');
    const std::pair<std::string, std::string> damaged[] = {
        {corrupt, "# warning: zlib caused an error: -3 in @"},
        {file_of(counts(0, 0, 1, 0) + pad),
         "# ERROR @: vertex count 0 is not positive in bobj_load_compressed"},
        {file_of(counts(0, 3, -1, 0) + pad),
         "# ERROR @: face count -1 is not positive in bobj_load_compressed"},
        {file_of(counts(0, 3, 2, -2) + pad),
         "# ERROR @: material count -2 is negative in bobj_load_compressed"}};
    for (const auto& d : damaged) {
        const std::string path = write_temp_file("damaged.bzobj", d.first);
        std::string line = d.second;
        line.replace(line.find('@'), 1, path);
        EXPECT_EXIT(bobj_load_compressed(&mesh, path), testing::ExitedWithCode(1),
                    "^" + line + "\n$");
    }
}
