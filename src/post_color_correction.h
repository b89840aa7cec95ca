// Colour correction: every channel looked up in a one-pixel-high image.
#pragma once

#include "post_levels.h"
#include "texture_manager.h"

#include <string>

class iRenderTarget;

class cPostColorCorrection {
public:
    // Loads the lookup image at once (no mipmaps, clamped to its edges).
    explicit cPostColorCorrection(const std::string& lookup_file);

    // Draws the corrected input into the bound framebuffer. With levels,
    // the input's levels are corrected: the picture of a levels pass into a
    // target and this pass after it, to the byte, in one pass.
    void apply(iRenderTarget& input, const sLevelsValues* levels = nullptr);
    // Clears the output and draws the corrected input into it; input and
    // output must be different targets.
    void apply_into(iRenderTarget& input, iRenderTarget& output,
                    const sLevelsValues* levels = nullptr);

    cTexProxy m_lookup;
};
