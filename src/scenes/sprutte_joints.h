// The joint chain of one sprutte arm, without GL: 33 joints whose rotations
// follow their predecessors with a delay, so that a bend started at the root
// travels outwards along the arm. The scene draws the arm segments with the
// frames computed here.
//
// Matrices are 16 floats written row by row (element 4 * row + column); the
// scene hands them to glMultMatrixf exactly as stored.
#pragma once

#include "math/vec3.h"

constexpr int kSprutteJoints = 33;

using tSprutteMatrix = float[16];

void sprutte_identity(float out[16]);
// The right-handed rotation about a unit axis by angle radians.
void sprutte_rotation(float out[16], float angle, Vec3f unit_axis);

// One joint step at timeline time now_ms, the previous step having run at
// last_ms. rot holds the current joint rotations and receives the new ones;
// next is the scratch array the new rotations are collected in (its first
// entry stays identity); pos receives the joint positions (x, y, z; the
// fourth float is left alone) and frame the orientation of each of the 32
// segments. propagation is the time in ms a bend needs for the whole arm.
void sprutte_joint_step(tSprutteMatrix* rot, tSprutteMatrix* next, float (*pos)[4],
                        tSprutteMatrix* frame, float angle, float propagation, int now_ms,
                        int last_ms);

// Where one of the creature's six arms is put: a rotation of angle_deg about
// axis (as glRotatef takes it), then, for a mirrored arm, a scale by -1 on
// every axis (its triangles then wind the other way round). An arm at rest
// grows along +y.
struct sSprutteArm {
    float angle_deg;
    Vec3f axis;
    bool mirrored;
};

constexpr int kSprutteArms = 6;
extern const sSprutteArm kSprutteArmPlacements[kSprutteArms];

// The direction a placed arm points in at rest: +y rotated and mirrored.
Vec3f sprutte_arm_rest_direction(const sSprutteArm& arm);
