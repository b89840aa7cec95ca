// What the scenes share in setting up their frames.
#pragma once

#include "render_target_manager.h"

// A full-size target from the pool, bound and cleared to the colour, depth
// included: depth writes are switched on first, since a scene may leave them
// off and a clear without them keeps the old depth.
cRTProxy bind_cleared_scene_target(float r, float g, float b);

// The state a scene starts from at its switch: identity matrices under a
// unit-square projection; lighting, blending and texturing off; depth test on.
void reset_scene_gl_state();
