#include "gui/gui_var_list.h"

#include "debug.h"
#include "gui/gui_slider.h"
#include "gui/gui_vec3_slider.h"
#include "gui/value_text.h"
#include "input.h"

#include <cmath>
#include <limits>

namespace {

const float SLIDER_HEIGHT = 0.025f;

// Truncation toward zero; values beyond int's range saturate instead of being
// undefined. NaN has no meaningful integer and keeps the old field value.
void store_truncated(float value, int* field) {
    if (std::isnan(value))
        return;
    const double v = std::trunc(double(value));
    if (v <= double(std::numeric_limits<int>::min()))
        *field = std::numeric_limits<int>::min();
    else if (v >= double(std::numeric_limits<int>::max()))
        *field = std::numeric_limits<int>::max();
    else
        *field = int(v);
}

} // namespace

cGuiVarList::~cGuiVarList() {
    clear();
}

void cGuiVarList::init() {
    clear();
    set_fill_color(0.0f, 0.0f, 0.0f, 0.15f);
}

bool cGuiVarList::handle_event(int type, float x, float y) {
    // The left button drags. The wheel's flags stay set once turned, so they
    // must not count as a held button.
    const bool button_down = g_mouse_buttons[1] != 0;

    // Hover: while the button is up, the widget under the pointer is the one
    // a drag will move.
    if (!button_down) {
        for (tEntry& e : m_entries)
            e.second->handle_event(GUI_EV_LEAVE, x, y);
        for (tEntry& e : m_entries)
            if (e.second->is_inside(&x, &y)) {
                e.second->handle_event(GUI_EV_HOVER, x, y);
                break;
            }
    }
    if (type != GUI_EV_DRAG || !button_down)
        return false;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].second->handle_event(GUI_EV_DRAG, x, y)) {
            write_back(i);
            m_dragged = i;
            return true;
        }
    return false;
}

void cGuiVarList::draw() {
    if (m_layout_dirty)
        layout_rows();
    sync_from_vars();
    cGuiRectangle::draw();
    for (tEntry& e : m_entries) {
        float x = 0.0f, y = 0.0f;
        e.second->get_position(&x, &y);
        const float alpha = e.second->is_active() ? 1.0f : 0.85f;
        m_label.set_color(1.0f, 1.0f, 1.0f, alpha);
        m_label.set_text(e.first->get_name());
        const float left = m_pos[0];
        m_label.set_position(&left, &y);
        m_label.draw();

        std::string value_text;
        if (auto* label = dynamic_cast<cGuiTxtLabel*>(e.second)) {
            label->set_text(e.first->get_value_string());
            label->draw();
            continue;
        }
        if (auto* slider = dynamic_cast<cGuiSlider*>(e.second))
            value_text = format_two_decimals(slider->get_value());
        else if (auto* vec3 = dynamic_cast<cGuiVec3Slider*>(e.second))
            value_text = format_vec3(vec3->get_values());
        m_label.set_text(value_text);
        const float value_x = left + 0.15f;
        m_label.set_position(&value_x, &y);
        e.second->draw();
        m_label.set_color(1.0f, 1.0f, 1.0f, 0.85f);
        m_label.draw();
    }
}

void cGuiVarList::add_float(std::string name, float* value, float min, float max) {
    cVar<float>* var = new cVar<float>(std::move(name), value);
    cGuiSlider* slider = new cGuiSlider;
    slider->set_size(m_size[1], SLIDER_HEIGHT);
    slider->set_min(min);
    slider->set_max(max);
    slider->set_value(*value);
    add_entry(var, slider, true);
}

void cGuiVarList::add_vec3(std::string name, Vec3<float>* value, float min, float max) {
    cVar<Vec3<float>>* var = new cVar<Vec3<float>>(std::move(name), value);
    cGuiVec3Slider* slider = new cGuiVec3Slider;
    slider->set_size(m_size[1], SLIDER_HEIGHT);
    slider->set_min(min);
    slider->set_max(max);
    slider->set_values(*value);
    add_entry(var, slider, true);
}

void cGuiVarList::add_int(std::string name, int* value, int min, int max) {
    cVar<int>* var = new cVar<int>(std::move(name), value);
    cGuiSlider* slider = new cGuiSlider;
    slider->set_size(m_size[1], SLIDER_HEIGHT);
    slider->set_min(float(min));
    slider->set_max(float(max));
    slider->set_value(float(*value));
    add_entry(var, slider, true);
}

void cGuiVarList::add_int_label(std::string name, int* value) {
    add_entry(new cVar<int>(std::move(name), value), new cGuiTxtLabel, false);
}

void cGuiVarList::add_uint_label(std::string name, unsigned int* value) {
    add_entry(new cVar<unsigned int>(std::move(name), value), new cGuiTxtLabel, false);
}

void cGuiVarList::add_entry(iVar* var, iGuiNode* widget, bool dirties_layout) {
    m_entries.emplace_back(var, widget);
    if (dirties_layout)
        m_layout_dirty = true;
}

void cGuiVarList::clear() {
    for (tEntry& e : m_entries) {
        delete e.first;
        delete e.second;
    }
    m_entries.clear();
    m_layout_dirty = true;
}

void cGuiVarList::print(std::ostream& out) const {
    for (const tEntry& e : m_entries)
        out << e.first->get_name() << ' ' << e.first->get_value_string() << '\n';
}

void cGuiVarList::layout_rows() {
    m_layout_dirty = false;
    const float x = float(double(m_pos[0]) + 0.2);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const float y = float(double(m_size[1]) - 0.03 * double(i) + 0.02);
        m_entries[i].second->set_position(&x, &y);
    }
}

void cGuiVarList::sync_from_vars() {
    for (tEntry& e : m_entries) {
        if (cGuiSlider* slider = dynamic_cast<cGuiSlider*>(e.second)) {
            if (cVar<float>* var = dynamic_cast<cVar<float>*>(e.first))
                slider->set_value(*var->get_field());
            else if (cVar<int>* var = dynamic_cast<cVar<int>*>(e.first))
                slider->set_value(float(*var->get_field()));
        } else if (cGuiVec3Slider* slider = dynamic_cast<cGuiVec3Slider*>(e.second)) {
            if (cVar<Vec3<float>>* var = dynamic_cast<cVar<Vec3<float>>*>(e.first))
                slider->set_values(*var->get_field());
        }
    }
}

void cGuiVarList::write_back(std::size_t i) {
    const tEntry& e = entry(i);
    if (cGuiSlider* slider = dynamic_cast<cGuiSlider*>(e.second)) {
        if (cVar<float>* var = dynamic_cast<cVar<float>*>(e.first))
            *var->get_field() = slider->get_value();
        else if (cVar<int>* var = dynamic_cast<cVar<int>*>(e.first))
            store_truncated(slider->get_value(), var->get_field());
    } else if (cGuiVec3Slider* slider = dynamic_cast<cGuiVec3Slider*>(e.second)) {
        if (cVar<Vec3<float>>* var = dynamic_cast<cVar<Vec3<float>>*>(e.first))
            *var->get_field() = slider->get_values();
    }
}

const cGuiVarList::tEntry& cGuiVarList::entry(std::size_t i) const {
    VT_ASSERT(i < m_entries.size());
    return m_entries[i];
}
