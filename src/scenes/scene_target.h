// The off-screen target every scene renders its frame into.
#pragma once

#include "render_target_manager.h"

// A full-size target from the pool, bound and cleared to the colour, depth
// included: depth writes are switched on first, since a scene may leave them
// off and a clear without them keeps the old depth.
cRTProxy bind_cleared_scene_target(float r, float g, float b);
