// Round points as point sprites, drawn by a program that takes the coverage
// from the distance to the point's centre: the same picture on every driver.
#pragma once

#include "effects/round_points.h"

class cRoundPoints_sprites : public iRoundPoints {
public:
    // Registers the point-sprite program with the shader manager (once per
    // process). Needs the GL context and the shader search path.
    cRoundPoints_sprites();

    // Point state for the draws; saves what it changes and binds the program
    // (the shader stack keeps the caller's).
    void begin() override;
    void set_size(float size) override;
    void draw(iPointSource& points) override;
    void end() override;

private:
    // The caller's point state, given back by end(). Saved by hand, not on
    // the attribute stack: the caller sets colours between begin and end,
    // and Mesa does not bring back a colour saved by the caller's own
    // glPushAttrib once it was changed inside a nested one.
    bool m_saved_smooth = false;
    bool m_saved_sprite = false;
    bool m_saved_program_size = false;
};
