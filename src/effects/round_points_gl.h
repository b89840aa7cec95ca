// Round, antialiased points of a given size and the current colour, for the
// attractor clouds. They are drawn as point sprites by a program that takes
// coverage from the distance to the point's centre: the fixed-function
// smooth points look different on every driver, and the software rasteriser
// draws them through a slow path of its own, one point at a time. The
// fixed-function smooth points stay available for comparison.
#pragma once

class cRoundPoints_GL {
public:
    // The fixed-function path when the environment variable
    // VANTREL_SMOOTH_POINTS is set to anything but "0" or nothing.
    static bool fixed_function_requested();

    explicit cRoundPoints_GL(bool fixed_function = fixed_function_requested());

    // Registers the point-sprite program with the shader manager (once per
    // process). Needs the GL context and the shader search path.
    static void load();

    // Point state for the draws up to end(); saves what it changes and binds
    // the program (the shader stack keeps the caller's). Calls do not nest.
    void begin();
    // Point size in pixels for the next draws, like glPointSize.
    void set_size(float size);
    void end();

    bool fixed_function() const { return m_fixed_function; }

private:
    bool m_fixed_function;
    // The caller's point state, given back by end().
    bool m_saved_smooth = false;
    bool m_saved_sprite = false;
    bool m_saved_program_size = false;
    float m_saved_size = 1.0f;
};
