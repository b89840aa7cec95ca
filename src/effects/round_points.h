// Round, antialiased points of a given size and the current colour, added
// onto the target with the caller's additive blending (source alpha, one):
// the attractor's clouds and the sun's gases. Coverage comes from the
// distance to the point's centre: none outside the disc, full in the ring one
// pixel wide inside its edge, a brighter core within it; that is how smooth
// points look on the software rasteriser the show was made on. Two ways to
// draw them, picked by cRendererTraits:
// - cRoundPoints_sprites: point sprites drawn by a program, on a GPU;
// - cRoundPoints_cpu: the points added into an image on the CPU, which is
//   added onto the target once at end(), on a software rasteriser.
#pragma once

#include <memory>

class iPointSource;

class iRoundPoints {
public:
    virtual ~iRoundPoints() = default;

    // The way cRendererTraits picked. Needs the GL context and the shader
    // search path (the sprites register their program).
    static std::unique_ptr<iRoundPoints> create();

    // Starts the draws up to end() under the caller's blending, depth test,
    // matrices and viewport; the caller sets the colour before each draw.
    // Calls do not nest.
    virtual void begin() = 0;
    // Point diameter for the next draws, in pixels of the 1024 x 640
    // picture: scaled by the picture's size, never under two pixels.
    virtual void set_size(float size) = 0;
    virtual void draw(iPointSource& points) = 0;
    // Gives back the state that begin() changed.
    virtual void end() = 0;
};
