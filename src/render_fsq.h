// Full-screen quads: a unit square under an orthographic projection covers
// the current viewport exactly, whatever its size.
#pragma once

class cTexProxy;
class iRenderTarget;

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

// Reading a target over a viewport of its own size puts every pixel centre
// on a texel centre, where nearest filtering returns exactly what the
// targets' linear filtering returns, and a software driver fetches one texel
// instead of four. With the target's texture bound on the active unit:
// switches it to nearest filtering when its size is scale times the current
// viewport's, and says whether it did. Scale 2 serves a shader whose taps
// sit on the texel centres of a texture twice the viewport's size.
bool begin_texel_sampling(const iRenderTarget& target, unsigned scale = 1);
// Back to linear filtering when begin_texel_sampling switched: binds the
// target's texture on the active unit and leaves it bound.
void end_texel_sampling(const iRenderTarget& target, bool switched);

// A rectangle texture over the whole viewport (nearest sampling when it has
// the viewport's size).
void render_fsq(const cTexProxy& tex);
// A render target's image over the whole viewport, through texture unit 0;
// the target's size does not have to match the viewport's (nearest sampling
// when it does).
void render_fsq(const iRenderTarget& rt);
// One quad with two coordinate sets: unit 0 spans a's pixels, unit 1 b's.
// Binds no textures: the caller binds a to unit 0 and b to unit 1.
void render_fsq_dual(const iRenderTarget& a, const iRenderTarget& b);
