// Shared plumbing of the post-processing passes.
#pragma once

class iRenderTarget;

// Saves what an image pass changes and sets the unit-square projection with
// blending off; end_pass restores it all. Not nestable.
void begin_pass();
void end_pass();
// Texture unit 0 (or 1) for what follows.
void select_texture_unit(int unit);
// Draws a target's texture over the viewport in its own pixel size.
void draw_target(const iRenderTarget& target);
