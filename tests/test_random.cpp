#include "math/random.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(RandomTest, FollowsTheClassicSequenceAndReseedingRestartsIt) {
    const auto saved = vt_rand_state(); // other tests may rely on the sequence they left
    const std::pair<unsigned, std::vector<int>> seeds[] = {
        {1, {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358}},
        {1337, {4404, 25954, 17763, 29679, 4113}},
        {1337, {4404}}};
    for (const auto& seed : seeds) {
        vt_srand(seed.first);
        for (int expected : seed.second)
            EXPECT_EQ(vt_rand(), expected) << "seed " << seed.first;
    }
    vt_srand(saved);
}
