#include "gui/gui_slider.h"

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
    // The bar and its zero and value lines are drawn by the GL layer.
}
