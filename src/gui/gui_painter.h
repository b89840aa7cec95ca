// What the widgets draw with. The widgets decide what goes where; a painter
// turns it into pixels. The program installs the GL painter at start-up;
// without one, drawing does nothing (tools, tests of the layout).
#pragma once

#include <string>

class iGuiPainter {
public:
    virtual ~iGuiPainter() = default;
    // Rectangles in normalised screen units, (0,0) lower left.
    virtual void fill_rect(float x, float y, float w, float h, const float (&rgba)[4]) = 0;
    virtual void outline_rect(float x, float y, float w, float h, const float (&rgba)[4]) = 0;
    virtual void line(float x0, float y0, float x1, float y1, const float (&rgba)[4]) = 0;
    // Text in the bitmap font, one 0.01-wide square cell per character.
    virtual void text(float x, float y, const std::string& text, const std::string& font_name,
                      const float (&rgba)[4]) = 0;
};

// The installed painter, or none.
iGuiPainter* gui_painter();
void set_gui_painter(iGuiPainter* painter);
