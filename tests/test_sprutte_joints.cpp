// The sprutte arm's joint chain: rotations, the delayed follow, the spacing
// of the joints and the segment frames.
#include "scenes/sprutte_joints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {
struct sChain {
    tSprutteMatrix rot[kSprutteJoints];
    tSprutteMatrix next[kSprutteJoints];
    tSprutteMatrix frame[kSprutteJoints];
    float pos[kSprutteJoints][4] = {};

    sChain() {
        for (int i = 0; i < kSprutteJoints; ++i) {
            sprutte_identity(rot[i]);
            sprutte_identity(next[i]);
            sprutte_identity(frame[i]);
        }
    }
    void step(float angle, float propagation, int now, int last) {
        sprutte_joint_step(rot, next, pos, frame, angle, propagation, now, last);
    }
    // Runs steps of step_ms from start_ms for duration_ms; returns the end time.
    int run(float angle, float propagation, int start_ms, int duration_ms, int step_ms) {
        int last = start_ms;
        for (int now = start_ms + step_ms; now <= start_ms + duration_ms; now += step_ms) {
            step(angle, propagation, now, last);
            last = now;
        }
        return last;
    }
    // Largest element difference between joint i's rotation and m.
    double distance(int i, const float* m) const {
        double d = 0.0;
        for (int e = 0; e < 16; ++e)
            d = std::fmax(d, std::fabs(double(rot[i][e]) - m[e]));
        return d;
    }
};

void curl(float out[16], float angle) {
    const float h = float(1.0 / std::sqrt(2.0));
    sprutte_rotation(out, angle, Vec3f(h, h, 0.0f));
}
} // namespace

TEST(SprutteJoints, ALongStepMovesEachRotationOneJointOutwards) {
    sChain chain;
    const float angle = 0.6f;
    float root[16], identity[16];
    curl(root, angle);
    sprutte_identity(identity);

    chain.step(angle, 2000.0f, 10000, 0);
    EXPECT_EQ(chain.distance(0, identity), 0.0);
    EXPECT_LT(chain.distance(1, root), 1e-6);
    EXPECT_EQ(chain.distance(2, identity), 0.0);

    // Joint 32 copies joint 31 of the step before.
    for (int k = 2; k <= kSprutteJoints; ++k)
        chain.step(angle, 2000.0f, 10000 * k, 10000 * (k - 1));
    for (int i = 1; i < kSprutteJoints; ++i)
        EXPECT_LT(chain.distance(i, root), 1e-6) << "joint " << i;
}

TEST(SprutteJoints, JointsAreFiveUnitsApartAndFramesPointAlongTheSegments) {
    sChain chain;
    // A curl that keeps every segment in the upper half (frames follow the
    // segment only while it points upwards).
    chain.run(0.9f, 2000.0f, 0, 800, 20);

    for (int i = 0; i + 1 < kSprutteJoints; ++i) {
        const Vec3f a(chain.pos[i][0], chain.pos[i][1], chain.pos[i][2]);
        const Vec3f b(chain.pos[i + 1][0], chain.pos[i + 1][1], chain.pos[i + 1][2]);
        const Vec3f d = b - a;
        EXPECT_NEAR(d.length(), 5.0f, 1e-4f) << "segment " << i;
        // As GL reads the stored floats (column by column), the frame takes
        // the y axis onto the segment: that column is elements 4 to 6.
        const Vec3f y_image(chain.frame[i][4], chain.frame[i][5], chain.frame[i][6]);
        const Vec3f dir = d.normalized();
        ASSERT_GT(dir.y, 0.0f);
        EXPECT_NEAR(y_image.x, dir.x, 1e-4f) << "segment " << i;
        EXPECT_NEAR(y_image.y, dir.y, 1e-4f) << "segment " << i;
        EXPECT_NEAR(y_image.z, dir.z, 1e-4f) << "segment " << i;
    }
}

TEST(SprutteJoints, PropagationSetsHowFastABendReachesTheTipAndStaysFinite) {
    float root[16];
    const float angle = 0.8f;
    curl(root, angle);

    // Frames of about 60 fps. A short propagation moves the bend one joint
    // per frame, the most a step can do.
    sChain fast;
    fast.run(angle, 100.0f, 0, 480, 16);
    EXPECT_GT(fast.distance(31, root), 0.2);
    fast.run(angle, 100.0f, 480, 48, 16);
    EXPECT_LT(fast.distance(31, root), 1e-6);

    sChain slow;
    slow.run(angle, 2000.0f, 0, 1000, 16);
    EXPECT_GT(slow.distance(31, root), 0.2);
    EXPECT_LT(slow.distance(1, root), 0.02);

    // A propagation below one joint's share of a frame stays finite.
    sChain tiny;
    tiny.run(1.0f, 10.0f, 0, 200, 16);
    for (int i = 0; i < kSprutteJoints; ++i)
        for (int e = 0; e < 16; ++e) {
            ASSERT_TRUE(std::isfinite(tiny.rot[i][e]));
            ASSERT_TRUE(std::isfinite(tiny.frame[i][e]));
            ASSERT_TRUE(std::isfinite(tiny.pos[i][e % 4]));
        }
}
