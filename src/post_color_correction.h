// Colour correction: every channel looked up in a one-pixel-high image.
#pragma once

#include "texture_manager.h"

#include <string>

class iRenderTarget;

class cPostColorCorrection {
public:
    // Loads the lookup image at once (no mipmaps, clamped to its edges).
    explicit cPostColorCorrection(const std::string& lookup_file);

    // Draws the corrected input into the bound framebuffer.
    void apply(iRenderTarget& input);
    // Clears the output and draws the corrected input into it; input and
    // output must be different targets.
    void apply_into(iRenderTarget& input, iRenderTarget& output);

    cTexProxy m_lookup;
};
