#include "effects/scrub.h"
#include "effects/scrub_tube.h"
#include "math/random.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {
// Grows a scrub the way the scene drives it: a pre-growth to 14 ahead, then
// frames of 1/6 time unit (speed 10 at 60 frames per second).
void run_frames(cScrub* scrub, int frames, float* now) {
    for (int i = 0; i < frames; ++i) {
        scrub->update(*now, *now + 14.0f);
        *now += 10.0f / 60.0f;
    }
}

// A node with the identity frame, as finalisation starts it.
void set_identity_frame(sScrubNode* node) {
    node->frame[0] = Vec3f(1, 0, 0);
    node->frame[1] = Vec3f(0, 1, 0);
    node->frame[2] = Vec3f(0, 0, 1);
}

void link(sScrubNode* a, sScrubNode* b) {
    a->nbors.push_back(b);
    b->nbors.push_back(a);
}
} // namespace

TEST(ScrubTest, SeedingGivesUpAfterFourAttemptsPerWantedNode) {
    cScrub scrub;
    scrub.m_radialDepth = 0.5f;       // ring area 0.75: n = trunc(0.75 pi 4.3) = 10
    scrub.m_minNborNodeDist = 1.0e6f; // every candidate near an existing node is rejected
    vt_srand(99);
    scrub.grow(0.0f, 1.0f);
    EXPECT_LT(scrub.nodes().size(), 10u);
    EXPECT_GE(scrub.nodes().size(), 1u);
}

TEST(ScrubTest, GrownStructureKeepsItsInvariants) {
    vt_srand(1335);
    cScrub scrub;
    float now = 0.0f;
    run_frames(&scrub, 120, &now);
    ASSERT_GT(scrub.nodes().size(), 1000u);

    std::set<const sScrubNode*> live;
    for (const sScrubNode& node : scrub.nodes())
        live.insert(&node);
    std::size_t finalised = 0;
    for (const sScrubNode& node : scrub.nodes()) {
        // Culled up to the present; nothing beyond the growth front.
        EXPECT_GE(node.pos.z, now - 10.0f / 60.0f);
        EXPECT_LE(node.pos.z, scrub.m_time);
        std::set<const sScrubNode*> seen;
        for (const sScrubNode* other : node.nbors) {
            ASSERT_TRUE(live.count(other)) << "link to a culled node";
            EXPECT_NE(other, &node);
            EXPECT_TRUE(seen.insert(other).second) << "duplicate link";
            EXPECT_LT(scrub_dist2(node.pos, other->pos), 1.44);
            auto back = std::find(other->nbors.begin(), other->nbors.end(), &node);
            EXPECT_NE(back, other->nbors.end()) << "one-way link";
        }
        if (node.is_finalised()) {
            ++finalised;
            EXPECT_LT(node.pos.z, scrub.m_time - 1.0f);
        }
    }
    EXPECT_GT(finalised, 0u);

    // The spatial hash finds every close pair that a full scan finds:
    // no two nodes closer than the minimum distance.
    std::vector<const sScrubNode*> all(live.begin(), live.end());
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j)
            ASSERT_GE(std::sqrt(scrub_dist2(all[i]->pos, all[j]->pos)), 0.4f);
}

TEST(ScrubTest, OnlyTheFirstSixLinksOfANodeDrawSegments) {
    cScrub scrub;
    std::vector<sScrubNode> nodes(9);
    sScrubNode* centre = &nodes[0];
    centre->pos = Vec3f(10, 10, 5);
    for (int i = 1; i <= 8; ++i) {
        nodes[std::size_t(i)].pos = Vec3f(10.0f + 0.1f * float(i), 10.5f, 5.0f);
        link(centre, &nodes[std::size_t(i)]);
    }
    for (sScrubNode& node : nodes)
        set_identity_frame(&node);
    scrub.emit_segments(*centre);
    EXPECT_EQ(scrub.batcher().pending_vertex_count(), 6u * 18u);
}

TEST(ScrubMultiVBOTest, PoolsBuffersAndGrowsThemWhenShort) {
    cScrubMultiVBO batcher;
    testing::internal::CaptureStderr();
    for (int b = 0; b < 31; ++b) {
        for (int v = 0; v < 3; ++v)
            batcher.add_vertex(Vec3f(0, 0, float(b)), Vec3f(0, 0, 1));
        batcher.end_render_block();
    }
    EXPECT_EQ(batcher.blocks().size(), 31u);
    EXPECT_EQ(batcher.spare_pair_count(), 0u);

    // Released oldest first, stopping at the first block not yet passed.
    batcher.release_before(10.0f);
    EXPECT_EQ(batcher.blocks().size(), 21u);
    EXPECT_EQ(batcher.spare_pair_count(), 10u);
    EXPECT_EQ(batcher.blocks().front().min_z, 10.0f);

    // A block larger than its pair enlarges the pair to 1.5 times the need.
    for (int v = 0; v < 90003; ++v)
        batcher.add_vertex(Vec3f(0, 0, 50), Vec3f(0, 0, 1));
    batcher.end_render_block();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(batcher.pairs()[std::size_t(batcher.blocks().back().pair)].capacity, 135004u);

    // Closing with nothing pending makes no block.
    batcher.end_render_block();
    EXPECT_EQ(batcher.blocks().size(), 22u);
}
