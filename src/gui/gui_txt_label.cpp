#include "gui/gui_txt_label.h"

#include "debug.h"
#include "resource_path.h"

void cGuiTxtLabel::init() {
    cResourcePath::instance()->push_searchpath("../data/textures");
}

bool cGuiTxtLabel::handle_event(int /*type*/, float /*x*/, float /*y*/) {
    return false;
}

void cGuiTxtLabel::draw() {
    // The glyphs are drawn by the GL layer.
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
