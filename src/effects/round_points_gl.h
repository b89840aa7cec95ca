// Round, antialiased points of a given size and the current colour, added
// onto the target (additive blending, source alpha and one), for the
// attractor clouds. Three ways to draw them:
// - sprites: point sprites drawn by a program that takes coverage from the
//   distance to the point's centre, the same on every driver;
// - splat: the same points added into an image on the CPU (cPointSplat),
//   which is added onto the target once at end(). A software rasteriser
//   spends about a third of a microsecond on every point it draws, so on one
//   this is many times faster and gives the same picture;
// - smooth: the driver's fixed-function smooth points, for comparison.
#pragma once

#include "effects/point_splat.h"
#include "gl_entry.h"

#include <cstddef>

class cAttractorPointBuffer_GL;

class cRoundPoints_GL {
public:
    enum eMode { SPRITES, SPLAT, SMOOTH };

    // VANTREL_POINTS=sprites, splat or smooth in the environment picks the
    // way; otherwise splat on a software rasteriser and sprites elsewhere.
    // Needs the GL context.
    static eMode requested_mode();

    explicit cRoundPoints_GL(eMode mode = requested_mode());
    ~cRoundPoints_GL();
    cRoundPoints_GL(const cRoundPoints_GL&) = delete;
    cRoundPoints_GL& operator=(const cRoundPoints_GL&) = delete;

    // Registers the point-sprite program with the shader manager (once per
    // process). Needs the GL context and the shader search path.
    static void load();

    // Point state for the draws up to end(); saves what it changes and binds
    // the program (the shader stack keeps the caller's). Calls do not nest.
    // The caller enables additive blending.
    void begin();
    // Point size in pixels for the next draws, like glPointSize.
    void set_size(float size);
    // The points of a buffer in the current colour, matrices and viewport.
    void draw(cAttractorPointBuffer_GL& points);
    void end();

    eMode mode() const { return m_mode; }

private:
    void splat(const float* xyz, std::size_t count);
    void add_splat_onto_target();

    eMode m_mode;
    float m_size = 1.0f;
    // The splat's image and the texture that carries it to the target.
    cPointSplat m_splat;
    bool m_splatted = false;
    GLuint m_texture = 0;
    int m_texture_width = 0;
    int m_texture_height = 0;
    // The caller's point state, given back by end().
    bool m_saved_smooth = false;
    bool m_saved_sprite = false;
    bool m_saved_program_size = false;
    float m_saved_size = 1.0f;
};
