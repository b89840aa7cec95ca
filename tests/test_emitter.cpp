#include "effects/mesh_emitter.h"
#include "math/random.h"

#include <gtest/gtest.h>

namespace {
// A mesh as plain arrays, the way a mesh object hands them to an emitter.
struct sTestMesh {
    std::vector<float> positions;
    std::vector<std::int32_t> indices;
    sMeshArrays arrays() const { return {&positions, &indices}; }
};

sTestMesh unit_triangle() {
    return {{0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2}};
}

// n triangles side by side along x, each a unit right triangle.
sTestMesh strip(int n) {
    sTestMesh mesh;
    for (int t = 0; t < n; ++t) {
        float x = float(2 * t);
        mesh.positions.insert(mesh.positions.end(), {x, 0, 0, x + 1, 0, 0, x, 1, 0});
        mesh.indices.insert(mesh.indices.end(), {3 * t, 3 * t + 1, 3 * t + 2});
    }
    return mesh;
}
} // namespace

TEST(MeshLocTest, PicksTrianglesUniformlyExceptTheLastAndStaysInside) {
    vt_srand(5);
    sTestMesh mesh = strip(5);
    int hits[5] = {0, 0, 0, 0, 0};
    const int draws = 40000;
    for (int i = 0; i < draws; ++i) {
        cMeshLoc loc = cMeshLoc::random(mesh.arrays());
        ASSERT_EQ(loc.m_first_index % 3, 0);
        ++hits[loc.m_first_index / 3];
        ASSERT_GE(loc.m_u, 0.0f);
        ASSERT_GE(loc.m_v, 0.0f);
        ASSERT_LE(loc.m_u + loc.m_v, 1.0f);
    }
    // (index count - 1) / 3 = 4 slots: the fifth triangle needs rand() == 32767.
    for (int t = 0; t < 4; ++t)
        EXPECT_NEAR(hits[t], draws / 4, 400) << t;
    EXPECT_LE(hits[4], 5);
}

TEST(MeshLocTest, StopsOnAnEmptyIndexListOrAnIndexOutsideThePositions) {
    sTestMesh empty;
    EXPECT_DEATH(cMeshLoc::random(empty.arrays()), "!es.empty\\(\\)");
    sTestMesh broken = {{0, 0, 0}, {0, 0, 7}};
    cMeshLoc loc(0, 0.1f, 0.1f, broken.arrays());
    EXPECT_DEATH(loc.position(), "vertex");
}

TEST(MeshEmitterTest, ParticlesLeaveAlongTheTriangleNormal) {
    vt_srand(11);
    sTestMesh mesh = unit_triangle();
    cMeshEmitter emitter(mesh.arrays());
    emitter.m_rate = 500.0f;
    emitter.update(0.5f);
    ASSERT_GT(emitter.particle_count(), 0);
    const std::vector<float>& pos = emitter.positions();
    ASSERT_EQ(pos.size(), std::size_t(emitter.particle_count()) * 3);
    for (int i = 0; i < emitter.particle_count(); ++i) {
        const sParticle& p = emitter.particles()[std::size_t(i)];
        EXPECT_EQ(p.vel, Vec3f(0.0f, 0.0f, 2.0f));
        EXPECT_FLOAT_EQ(p.age, 0.5f);
        // Born inside the triangle, then moved half a second along z.
        EXPECT_FLOAT_EQ(p.pos.z, 1.0f);
        EXPECT_GE(p.pos.x, 0.0f);
        EXPECT_GE(p.pos.y, 0.0f);
        EXPECT_LE(p.pos.x + p.pos.y, 1.0f + 1e-6f);
    }
}

TEST(MeshEmitterTest, ParticlesDieOnceTheLifeTestFails) {
    vt_srand(1);
    vt_rand(); // the next draw, 18467, sets the emission count
    sTestMesh mesh = unit_triangle();
    cMeshEmitter emitter(mesh.arrays());
    // L = 1 exactly; a particle dies when 1 - age^2 < 0, so past age 1.
    emitter.m_life = Vec3f(1.0f, 0.0f, 2.0f);
    emitter.m_rate = 300.0f;
    emitter.update(0.3f);
    int born = emitter.particle_count();
    ASSERT_GT(born, 0);
    emitter.update(0.3f); // a younger cohort: two ages in one update
    const int younger = emitter.particle_count() - born;
    ASSERT_GT(younger, 0);
    emitter.m_rate = 0.0f;
    emitter.update(0.3f); // ages 0.9 and 0.6
    EXPECT_EQ(emitter.particle_count(), born + younger);
    emitter.update(0.3f); // ages 1.2 and 0.9
    EXPECT_EQ(emitter.particle_count(), younger);
    emitter.update(0.3f);
    EXPECT_EQ(emitter.particle_count(), 0);
}

TEST(MeshEmitterTest, PopulationStartsAtRateZeroStopsAtTheCapAndWithDefaultsNeverDies) {
    vt_srand(1);
    sTestMesh mesh = unit_triangle();
    cMeshEmitter emitter(mesh.arrays());
    emitter.m_rate = 0.0f;
    emitter.update(0.016f);
    EXPECT_EQ(emitter.particle_count(), 0);
    emitter.m_rate = 100000.0f;
    for (int i = 0; i < 200 && emitter.particle_count() < 99999; ++i)
        emitter.update(0.01f);
    EXPECT_EQ(emitter.particle_count(), 99999);
    emitter.update(0.01f);
    EXPECT_EQ(emitter.particle_count(), 99999);
    EXPECT_EQ(emitter.positions().size(), 99999u * 3);
}
