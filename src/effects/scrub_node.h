// One node of the growing scrub: a point in (x, y, time) space with links to
// its neighbours and, once finalised, the frame its tubes leave along.
#pragma once

#include "math/vec3.h"

#include <vector>

struct sScrubNode {
    // Linked nodes; every link is stored at both ends. The position of a link
    // in this array picks its direction from the frame.
    std::vector<sScrubNode*> nbors;
    Vec3f pos; // z is the node's moment in time
    // Three axes, all zero until the node is finalised.
    Vec3f frame[3];

    bool is_finalised() const { return frame[0] != Vec3f(); }
};
