// A horizontal slider: a rectangle whose value runs from minimum at the left
// edge to maximum at the right edge. It moves only while the pointer hovers it.
#pragma once

#include "gui/gui_rectangle.h"

class cGuiSlider : public cGuiRectangle {
public:
    cGuiSlider() = default;

    // Types 1 to 3 answer the inside test; GUI_EV_DRAG sets the value from x
    // while hovered; GUI_EV_HOVER and GUI_EV_LEAVE set and clear the hover flag.
    bool handle_event(int type, float x, float y) override;
    void draw() override;
    bool is_active() const override { return m_hover; }

    void set_min(float min) { m_min = min; }
    void set_max(float max) { m_max = max; }
    // Stored as given, not clamped: a registered field may lie outside its range.
    void set_value(float value) { m_value = value; }
    float get_min() const { return m_min; }
    float get_max() const { return m_max; }
    float get_value() const { return m_value; }

private:
    float m_min = 0.0f;
    float m_max = 1.0f;
    float m_value = 0.0f;
    bool m_hover = false;
};
