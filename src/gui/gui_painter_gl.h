// Draws the widgets with the fixed-function pipeline, in normalised screen
// units under the caller's unit-square projection.
#pragma once

#include "gui/gui_painter.h"
#include "texture_manager.h"

#include <map>

class cGuiPainter_GL : public iGuiPainter {
public:
    void fill_rect(float x, float y, float w, float h, const float (&rgba)[4]) override;
    void outline_rect(float x, float y, float w, float h, const float (&rgba)[4]) override;
    void line(float x0, float y0, float x1, float y1, const float (&rgba)[4]) override;
    void text(float x, float y, const std::string& text, const std::string& font_name,
              const float (&rgba)[4]) override;

    // The font cell of a character: column and row (texels / 20), or false
    // when the font has no glyph for it (a blank, say).
    static bool glyph_cell(char c, int* column, int* row);

private:
    std::map<std::string, cTexProxy> m_fonts; // fetched on first use
};
