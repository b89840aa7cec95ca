// The generated models and camera paths as the show ships them: geometric
// invariants of every mesh parsed back from data/models, camera paths that
// frame their scenes and a byte-for-byte rebuild.
#include "../tools/content/models/content_writer.h"
#include "../tools/content/models/models.h"
#include "../tools/content/models/paths.h"
#include "mesh_files/bzobj_parser.h"
#include "mesh_files/camera_path.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {
const std::string kModels = std::string(VANTREL_SOURCE_DIR) + "/data/models/";

sMeshData parse_shipped(const std::string& rel) {
    const std::string bytes = read_file_bytes(kModels + rel);
    sMeshData mesh;
    sBzObjError error;
    EXPECT_TRUE(bzobj_parse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), rel,
                            &mesh, &error))
        << error.m_message;
    return mesh;
}

sV3 pos(const sMeshData& m, int i) {
    return sV3(m.m_pos[3 * i], m.m_pos[3 * i + 1], m.m_pos[3 * i + 2]);
}

sV3 nrm(const sMeshData& m, int i) {
    return sV3(m.m_norm[3 * i], m.m_norm[3 * i + 1], m.m_norm[3 * i + 2]);
}

// Surfaces that are open on purpose: the room shell (seen from inside), the
// flare's ribbons and the flat debris shadows.
bool open_on_purpose(const std::string& name) {
    return name == "floor.bzobj" || name == "sunflare.bzobj" ||
           name.rfind("creditrum_vrag", 0) == 0;
}

// Every edge, by exact position (texture seams duplicate vertices), must be
// used once in each direction; the enclosed volume must be positive.
void expect_closed_and_outward(const sMeshData& m, const std::string& name) {
    std::map<std::tuple<float, float, float>, int> weld;
    std::vector<int> id(m.vertex_count());
    for (std::size_t v = 0; v < m.vertex_count(); ++v)
        id[v] =
            weld.emplace(std::make_tuple(m.m_pos[3 * v], m.m_pos[3 * v + 1], m.m_pos[3 * v + 2]),
                         int(weld.size()))
                .first->second;
    std::map<std::pair<int, int>, int> edges;
    double volume = 0;
    for (std::size_t f = 0; f < m.face_count(); ++f) {
        const int* t = &m.m_indices[3 * f];
        for (int k = 0; k < 3; ++k)
            ++edges[{id[t[k]], id[t[(k + 1) % 3]]}];
        volume += pos(m, t[0]).dot(pos(m, t[1]).cross(pos(m, t[2])));
    }
    int bad = 0;
    for (const auto& e : edges)
        if (e.second != 1 || edges.count({e.first.second, e.first.first}) == 0 ||
            edges.at({e.first.second, e.first.first}) != 1)
            ++bad;
    EXPECT_EQ(bad, 0) << name << ": edges not shared by exactly two opposite faces";
    EXPECT_GT(volume, 0) << name << ": faces wound inwards";
}

sV3 v3(const Vec3f& v) {
    return sV3(v.x, v.y, v.z);
}
} // namespace

TEST(ContentModels, ShippedMeshesAreValidClosedAndOutward) {
    for (const sModelFile& model : build_models()) {
        const std::string rel = model.m_folder + "/" + model.m_name;
        SCOPED_TRACE(rel);
        const sMeshData m = parse_shipped(rel);
        ASSERT_GT(m.face_count(), 0u);
        ASSERT_EQ(m.m_flags & (MESH_HAS_NORMALS | MESH_HAS_TEXCOORDS),
                  MESH_HAS_NORMALS | MESH_HAS_TEXCOORDS);
        // One material covering every triangle.
        EXPECT_EQ(m.m_matswitches, (std::vector<int32_t>{0, int32_t(m.m_indices.size())}));
        ASSERT_EQ(m.m_materials.size(), 1u);
        // Normals that agree with the winding of every face they touch.
        int disagreeing = 0;
        for (std::size_t f = 0; f < m.face_count(); ++f) {
            const int* t = &m.m_indices[3 * f];
            const sV3 face = (pos(m, t[1]) - pos(m, t[0])).cross(pos(m, t[2]) - pos(m, t[0]));
            EXPECT_GT(face.length(), 0.0) << "degenerate face " << f;
            for (int k = 0; k < 3; ++k)
                disagreeing += face.dot(nrm(m, t[k])) <= 0;
        }
        EXPECT_EQ(disagreeing, 0);
        if (!open_on_purpose(model.m_name))
            expect_closed_and_outward(m, rel);
    }
}

TEST(ContentModels, CameraPathsLoadAndFrameTheirScenes) {
    for (const sPathFile& file : build_paths()) {
        const std::string rel = file.m_folder + "/" + file.m_name;
        SCOPED_TRACE(rel);
        cCameraPath path;
        ASSERT_TRUE(path.load(kModels + rel));
        ASSERT_EQ(path.size(), std::size_t(PATH_KEYS + 1));
        const bool room = file.m_folder == "credits";
        // The keys in use: every real one (the extra last key is the loader's).
        for (int k = 0; k < PATH_KEYS; ++k) {
            const sCameraKey& key = path.keys()[k];
            const sV3 eye = v3(key.eye), view = v3(key.target) - eye, up = v3(key.up);
            EXPECT_GT(view.normalized().cross(up.normalized()).length(), 0.3) << "key " << k;
            const bool inside =
                room ? std::fabs(eye.x) < 880 && std::fabs(eye.z) < 880 && eye.y > 20 && eye.y < 690
                     : eye.length() > 120; // not inside the creature
            EXPECT_TRUE(inside) << "key " << k;
            if (k > 0) {
                // Smooth: no key jumps further than a twentieth of the room
                // or of the first path's rush towards the creature.
                const double step = (eye - v3(path.keys()[k - 1].eye)).length();
                EXPECT_LT(step, room ? 90.0 : 60.0) << "key " << k;
            }
        }
    }
}

TEST(ContentModels, RebuildMatchesTheShippedFilesByteForByte) {
    const std::string dir = make_temp_dir("content_models");
    std::vector<std::string> written;
    std::string error;
    ASSERT_TRUE(write_models_and_paths(dir, &written, &error)) << error;
    EXPECT_FALSE(written.empty());
    for (const std::string& rel : written)
        EXPECT_EQ(read_file_bytes(dir + "/" + rel), read_file_bytes(kModels + rel)) << rel;
}
