#include "gui/gui_vec3_slider.h"

#include "debug.h"

bool cGuiVec3Slider::handle_event(int type, float x, float y) {
    if (type == GUI_EV_LEAVE) {
        for (cGuiSlider& s : m_sliders)
            s.handle_event(GUI_EV_LEAVE, -1.0f, -1.0f);
        return true;
    }
    for (cGuiSlider& s : m_sliders)
        if (s.handle_event(type, x, y))
            return true;
    return false;
}

void cGuiVec3Slider::draw() {
    for (cGuiSlider& s : m_sliders)
        s.draw();
}

bool cGuiVec3Slider::is_inside(const float* x, const float* y) const {
    for (const cGuiSlider& s : m_sliders)
        if (s.is_inside(x, y))
            return true;
    return false;
}

bool cGuiVec3Slider::is_active() const {
    for (const cGuiSlider& s : m_sliders)
        if (s.is_active())
            return true;
    return false;
}

void cGuiVec3Slider::set_position(const float* x, const float* y) {
    cGuiRectangle::set_position(x, y);
    layout();
}

void cGuiVec3Slider::set_size(float width, float height) {
    cGuiRectangle::set_size(width, height);
    layout();
}

void cGuiVec3Slider::set_min(float min) {
    m_min = min;
    for (cGuiSlider& s : m_sliders)
        s.set_min(min);
}

void cGuiVec3Slider::set_max(float max) {
    m_max = max;
    for (cGuiSlider& s : m_sliders)
        s.set_max(max);
}

void cGuiVec3Slider::set_values(const Vec3<float>& value) {
    m_sliders[0].set_value(value.x);
    m_sliders[1].set_value(value.y);
    m_sliders[2].set_value(value.z);
}

Vec3<float> cGuiVec3Slider::get_values() const {
    return Vec3<float>(m_sliders[0].get_value(), m_sliders[1].get_value(),
                       m_sliders[2].get_value());
}

cGuiSlider& cGuiVec3Slider::component(int i) {
    VT_ASSERT(i >= 0 && i < 3);
    return m_sliders[i];
}

const cGuiSlider& cGuiVec3Slider::component(int i) const {
    VT_ASSERT(i >= 0 && i < 3);
    return m_sliders[i];
}

void cGuiVec3Slider::layout() {
    const double width = m_size[0] / 3.1;
    const double gap = (m_size[0] - 3.0 * width) / 2.0;
    for (int i = 0; i < 3; ++i) {
        const float x = float(m_pos[0] + i * (width + gap));
        const float y = m_pos[1];
        m_sliders[i].set_position(&x, &y);
        m_sliders[i].set_size(float(width), m_size[1]);
    }
}
