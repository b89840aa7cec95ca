// Full-screen quads: a unit square under an orthographic projection covers
// the current viewport exactly, whatever its size.
#pragma once

// Saves the state a quad pass changes and sets the unit-square projection.
// Not nestable: one pass at a time.
void begin_fsq();
// Restores what begin_fsq saved.
void end_fsq();
// The quad with texture coordinates from (0,0) to (s,t): pixel sizes for
// rectangle textures.
void draw_quad(float s, float t);
// The quad with texture coordinates from 0 to 1.
void draw_unit_quad();
