#include "scenes/sprutte_joints.h"

#include "math/smoothstep.h"

#include <cmath>

void sprutte_identity(float out[16]) {
    for (int e = 0; e < 16; ++e)
        out[e] = (e % 5 == 0) ? 1.0f : 0.0f;
}

void sprutte_rotation(float out[16], float angle, Vec3f unit_axis) {
    const double c = std::cos(double(angle));
    const double s = std::sin(double(angle));
    const double t = 1.0 - c;
    const double x = unit_axis.x, y = unit_axis.y, z = unit_axis.z;
    const double rows[16] = {t * x * x + c,
                             t * x * y - s * z,
                             t * x * z + s * y,
                             0.0,
                             t * x * y + s * z,
                             t * y * y + c,
                             t * y * z - s * x,
                             0.0,
                             t * x * z - s * y,
                             t * y * z + s * x,
                             t * z * z + c,
                             0.0,
                             0.0,
                             0.0,
                             0.0,
                             1.0};
    for (int e = 0; e < 16; ++e)
        out[e] = float(rows[e]);
}

namespace {
// The weight of a joint's own previous rotation against its predecessor's:
// 1 while the bend that left the root at the previous step has not reached
// the joint yet, falling to 0 as it passes.
float follow_weight(int joint, float propagation, int now_ms, int last_ms) {
    const double a = joint / double(kSprutteJoints);
    const double b = (joint - 1) / double(kSprutteJoints);
    const int last_prev = int(last_ms - b * propagation);
    const int now_this = int(now_ms - a * propagation);
    const int last_this = int(last_ms - a * propagation);
    const int span = last_prev - last_this;
    // A propagation below one joint's share of a millisecond leaves no span:
    // the bend then arrives at once instead of dividing by zero.
    if (span == 0)
        return 1.0f;
    return float(double(last_prev - now_this) / span);
}
} // namespace

void sprutte_joint_step(tSprutteMatrix* rot, tSprutteMatrix* next, float (*pos)[4],
                        tSprutteMatrix* frame, float angle, float propagation, int now_ms,
                        int last_ms) {
    const float inv_sqrt2 = float(1.0 / std::sqrt(2.0));
    float root[16];
    sprutte_rotation(root, angle, Vec3f(inv_sqrt2, inv_sqrt2, 0.0f));

    // New rotations are collected apart: every joint blends the rotations
    // its neighbours had before this step.
    sprutte_identity(next[0]);
    for (int i = 1; i < kSprutteJoints - 1; ++i) {
        const float* from = (i == 1) ? root : rot[i - 1];
        const double s = smoothstep(follow_weight(i, propagation, now_ms, last_ms));
        for (int e = 0; e < 16; ++e)
            next[i][e] = float(from[e] + s * (double(rot[i][e]) - from[e]));
    }
    for (int e = 0; e < 16; ++e)
        next[kSprutteJoints - 1][e] = rot[kSprutteJoints - 2][e];
    for (int i = 0; i < kSprutteJoints; ++i)
        for (int e = 0; e < 16; ++e)
            rot[i][e] = next[i][e];

    // Each joint sits along its rotated y axis, 5 units per joint.
    for (int i = 0; i < kSprutteJoints; ++i) {
        const float* m = rot[i];
        pos[i][0] = float(5.0 * i * m[1] + double(i) * m[3]);
        pos[i][1] = float(5.0 * i * m[5] + double(i) * m[7]);
        pos[i][2] = float(5.0 * i * m[9] + double(i) * m[11]);
    }

    // Re-space from the root outwards so that every segment is 5 units long.
    for (int i = 0; i + 1 < kSprutteJoints; ++i) {
        const Vec3f base(pos[i][0], pos[i][1], pos[i][2]);
        const Vec3f dir = Vec3f(pos[i + 1][0], pos[i + 1][1], pos[i + 1][2]) - base;
        const Vec3f moved = base + dir.normalized() * 5.0f;
        if (dir.length() == 0.0f)
            continue; // no direction to keep: the joint stays where it is
        pos[i + 1][0] = moved.x;
        pos[i + 1][1] = moved.y;
        pos[i + 1][2] = moved.z;
    }

    // A segment's frame turns the y axis towards the next joint.
    for (int i = 0; i + 1 < kSprutteJoints; ++i) {
        const Vec3f d = (Vec3f(pos[i + 1][0], pos[i + 1][1], pos[i + 1][2]) -
                         Vec3f(pos[i][0], pos[i][1], pos[i][2]))
                            .normalized();
        const Vec3f v(-d.z, 0.0f, d.x);
        const float len = v.length();
        // A segment along the y axis needs no turn (and has no axis to turn
        // about); rounding may push |v| a hair above 1.
        if (len == 0.0f) {
            sprutte_identity(frame[i]);
            continue;
        }
        const double turn = std::asin(len > 1.0f ? 1.0 : double(len));
        sprutte_rotation(frame[i], float(turn), v * (1.0f / len));
    }
}

// One arm for each axis direction: +y as is, -x turned about z, then both
// mirrored through the core, and +z and -z turned about x.
const sSprutteArm kSprutteArmPlacements[kSprutteArms] = {
    {0.0f, Vec3f(0.0f, 0.0f, 1.0f), false},  {90.0f, Vec3f(0.0f, 0.0f, 1.0f), false},
    {0.0f, Vec3f(0.0f, 0.0f, 1.0f), true},   {90.0f, Vec3f(0.0f, 0.0f, 1.0f), true},
    {90.0f, Vec3f(1.0f, 0.0f, 0.0f), false}, {-90.0f, Vec3f(1.0f, 0.0f, 0.0f), false},
};

Vec3f sprutte_arm_rest_direction(const sSprutteArm& arm) {
    const double kPi = 3.14159265358979323846;
    float m[16];
    sprutte_rotation(m, float(arm.angle_deg * kPi / 180.0), arm.axis);
    // The rows applied to (0, 1, 0) pick the second column.
    const float sign = arm.mirrored ? -1.0f : 1.0f;
    return Vec3f(sign * m[1], sign * m[5], sign * m[9]);
}
