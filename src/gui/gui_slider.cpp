#include "gui/gui_slider.h"

#include "gui/gui_painter.h"

#include <algorithm>
#include <cmath>

bool cGuiSlider::handle_event(int type, float x, float y) {
    if (type >= GUI_EV_BUTTON_FIRST && type <= GUI_EV_BUTTON_LAST)
        return is_inside(&x, &y);

    switch (type) {
    case GUI_EV_DRAG: {
        if (!m_hover)
            return false;
        const double f = (double(x) - m_pos[0]) / m_size[0];
        double value = (1.0 - f) * m_min + f * m_max;
        // Minimum first, then maximum: a reversed range (min above max) ends at
        // the maximum instead of being undefined.
        if (value < m_min)
            value = m_min;
        if (value > m_max)
            value = m_max;
        m_value = float(value);
        return true;
    }
    case GUI_EV_HOVER:
        // Only a hovered slider takes the event, so that a row of sliders
        // (the three-component slider) passes it on to the one under the point.
        if (!is_inside(&x, &y))
            return false;
        m_hover = true;
        return true;
    case GUI_EV_LEAVE:
        m_hover = false;
        return true;
    default:
        return false;
    }
}

void cGuiSlider::draw() {
    cGuiRectangle::draw();
    iGuiPainter* painter = gui_painter();
    if (!painter)
        return;
    // Positions of the value and of zero along the range; an empty range
    // draws both at the left end.
    const double range = double(m_max) - m_min;
    const double f = range != 0.0 ? (double(m_value) - m_min) / range : 0.0;
    double z = range != 0.0 ? (0.0 - m_min) / range : 0.0;
    if (z < 0.0)
        z = 0.0;
    const float left = m_pos[0], width = m_size[0], bottom = m_pos[1], height = m_size[1];
    const float zero_x = float(left + z * width);
    const float value_x = float(left + f * width);
    const float shade = m_value > 0.0f ? 1.0f : 0.0f;
    const float bar[4] = {shade, shade, shade, m_hover ? 0.75f : 0.5f};
    painter->fill_rect(std::min(zero_x, value_x), bottom, std::abs(value_x - zero_x), height, bar);
    const float red[4] = {1.0f, 0.0f, 0.0f, 0.5f};
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    painter->line(zero_x, bottom, zero_x, bottom + height, red);
    painter->line(value_x, bottom, value_x, bottom + height, white);
}
