#include "gui/gui_txt_label.h"

#include "debug.h"
#include "gui/gui_painter.h"
#include "resource_path.h"

void cGuiTxtLabel::init() {
    cResourcePath::instance()->push_searchpath("../data/textures");
}

bool cGuiTxtLabel::handle_event(int /*type*/, float /*x*/, float /*y*/) {
    return false;
}

void cGuiTxtLabel::draw() {
    if (iGuiPainter* painter = gui_painter())
        painter->text(m_pos[0], m_pos[1], m_text, m_font_name, m_color);
}

void cGuiTxtLabel::set_color(float r, float g, float b, float a) {
    m_color[0] = r;
    m_color[1] = g;
    m_color[2] = b;
    m_color[3] = a;
}

bool cGuiTxtLabel::is_inside(const float* /*x*/, const float* /*y*/) const {
    return false;
}

void cGuiTxtLabel::set_position(const float* x, const float* y) {
    VT_ASSERT(x && y);
    m_pos[0] = *x;
    m_pos[1] = *y;
}

void cGuiTxtLabel::get_position(float* x, float* y) const {
    VT_ASSERT(x && y);
    *x = m_pos[0];
    *y = m_pos[1];
}
