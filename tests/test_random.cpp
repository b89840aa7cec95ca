#include "math/random.h"

#include <gtest/gtest.h>

TEST(RandomTest, FollowsTheClassicSequenceForSeedsOneAnd1337) {
    vt_srand(1);
    const int seed_one[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int expected : seed_one)
        EXPECT_EQ(vt_rand(), expected);

    vt_srand(1337);
    const int seed_1337[] = {4404, 25954, 17763, 29679, 4113};
    for (int expected : seed_1337)
        EXPECT_EQ(vt_rand(), expected);

    // Reseeding restarts the sequence.
    vt_srand(1337);
    EXPECT_EQ(vt_rand(), 4404);
}
