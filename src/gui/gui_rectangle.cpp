#include "gui/gui_rectangle.h"

#include "debug.h"
#include "gui/gui_painter.h"

bool cGuiRectangle::handle_event(int /*type*/, float /*x*/, float /*y*/) {
    return false;
}

void cGuiRectangle::draw() {
    if (iGuiPainter* painter = gui_painter()) {
        painter->fill_rect(m_pos[0], m_pos[1], m_size[0], m_size[1], m_fill_color);
        painter->outline_rect(m_pos[0], m_pos[1], m_size[0], m_size[1], m_outline_color);
    }
}

bool cGuiRectangle::is_inside(const float* x, const float* y) const {
    VT_ASSERT(x && y);
    return *x > m_pos[0] && *x < m_pos[0] + m_size[0] && *y > m_pos[1] && *y < m_pos[1] + m_size[1];
}

void cGuiRectangle::set_position(const float* x, const float* y) {
    VT_ASSERT(x && y);
    m_pos[0] = *x;
    m_pos[1] = *y;
}

void cGuiRectangle::get_position(float* x, float* y) const {
    VT_ASSERT(x && y);
    *x = m_pos[0];
    *y = m_pos[1];
}

void cGuiRectangle::set_size(float width, float height) {
    m_size[0] = width;
    m_size[1] = height;
}

void cGuiRectangle::get_size(float* width, float* height) const {
    VT_ASSERT(width && height);
    *width = m_size[0];
    *height = m_size[1];
}

void cGuiRectangle::set_fill_color(float r, float g, float b, float a) {
    m_fill_color[0] = r;
    m_fill_color[1] = g;
    m_fill_color[2] = b;
    m_fill_color[3] = a;
}
