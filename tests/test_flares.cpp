#include "effects/solar_flares.h"
#include "math/random.h"
#include "scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
sTimeBlock at(int elapsed, int frame = 16) {
    return {0, elapsed, elapsed - frame};
}

bool same_flare(const sFlare& a, const sFlare& b) {
    return a.birth == b.birth && std::equal(a.matrix, a.matrix + 16, b.matrix);
}
} // namespace

TEST(SolarFlaresTest, StartCreatesTheWantedCountSpreadOverOneLifetime) {
    vt_srand(9);
    cSolarFlares flares;
    flares.m_decay = 100.0f; // start resets it
    flares.m_numFlares = 2.5f;
    flares.start(10000);
    EXPECT_EQ(flares.m_decay, 3500.0f);
    ASSERT_EQ(flares.flares().size(), 3u); // the count is compared as a float
    for (const sFlare& f : flares.flares()) {
        EXPECT_GT(f.birth, 10000 - 3500 - 1);
        EXPECT_LE(f.birth, 10000);
    }
    // Deaths replace flares in place, so 2.5 keeps three for good.
    for (int t = 10000; t < 30000; t += 250) {
        flares.update(at(t));
        ASSERT_EQ(flares.flares().size(), 3u);
    }
}

TEST(SolarFlaresTest, LoweringTheCountRemovesFlaresOnlyAsTheyDie) {
    vt_srand(21);
    cSolarFlares flares;
    flares.m_numFlares = 10.0f;
    flares.start(0);
    flares.m_numFlares = 5.0f;
    std::vector<sFlare> before = flares.flares();
    for (int t = 0; t <= 4000; t += 50) {
        flares.update(at(t));
        const std::vector<sFlare>& now = flares.flares();
        ASSERT_GE(now.size(), 5u);
        // Every flare still alive at t is still there, in the same order.
        std::vector<sFlare> alive;
        for (const sFlare& f : before)
            if (float(t) <= f.birth + flares.m_decay)
                alive.push_back(f);
        std::size_t found = 0;
        for (const sFlare& f : now)
            if (found < alive.size() && same_flare(f, alive[found]))
                ++found;
        ASSERT_EQ(found, alive.size()) << t;
        before = now;
    }
    EXPECT_EQ(flares.flares().size(), 5u);
}

TEST(SolarFlaresTest, DeadFlaresAreReplacedInPlaceBornNow) {
    vt_srand(4);
    cSolarFlares flares;
    flares.m_numFlares = 3.0f;
    flares.start(0);
    flares.update(at(20000)); // all dead: replaced in place, born now
    ASSERT_EQ(flares.flares().size(), 3u);
    for (const sFlare& f : flares.flares())
        EXPECT_EQ(f.birth, 20000);
}

TEST(SolarFlaresTest, ParticlesMoveByTheFrameTime) {
    std::vector<float> positions = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    std::vector<std::int32_t> indices = {0, 1, 2};
    cSolarFlares flares;
    flares.create_emitter({&positions, &indices});
    vt_srand(1);
    vt_rand(); // the emitter's count draw is 18467
    flares.emitter()->m_rate = 50.0f;
    flares.update({0, 1000, 960});
    ASSERT_GT(flares.emitter()->particle_count(), 0);
    EXPECT_FLOAT_EQ(flares.emitter()->particles()[0].age, 0.04f);
}
