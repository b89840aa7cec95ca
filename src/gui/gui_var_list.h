// The variable list: every tweak variable of the current scene, each paired
// with the widget that shows it. The engine empties and refills it on every
// scene switch; registration order is the display and printing order.
#pragma once

#include "gui/gui_rectangle.h"
#include "gui/gui_txt_label.h"
#include "gui/var.h"
#include "math/vec3.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

class cGuiVarList : public cGuiRectangle {
public:
    // A variable and its widget; both owned by the list.
    using tEntry = std::pair<iVar*, iGuiNode*>;

    cGuiVarList() = default;
    ~cGuiVarList() override;
    cGuiVarList(const cGuiVarList&) = delete;
    cGuiVarList& operator=(const cGuiVarList&) = delete;

    // Clears the entries and darkens the fill colour.
    void init() override;
    // Hover and drag from the pointer (g_mouse_pos units): with the left
    // button up the widget under the pointer becomes the hovered one; with it
    // held a drag event moves the hovered widget and writes its variable.
    bool handle_event(int type, float x, float y) override;
    // Lays the rows out if needed and copies the fields into the widgets.
    void draw() override;

    // Each appends one entry. The sliders are as wide as the list is high and
    // start at the field's current value; the field is not clamped to the range.
    void add_float(std::string name, float* value, float min, float max);
    void add_vec3(std::string name, Vec3<float>* value, float min, float max);
    void add_int(std::string name, int* value, int min, int max);
    // Display-only rows. They do not ask for a new layout by themselves.
    void add_int_label(std::string name, int* value);
    void add_uint_label(std::string name, unsigned int* value);

    // Deletes every entry.
    void clear();

    // One line per entry: name, a blank, the value text.
    void print(std::ostream& out) const;

    // Places row i at (list x + 0.2, list height - 0.03 i + 0.02) and clears
    // the layout flag.
    void layout_rows();
    // Copies every slider-backed field into its widget.
    void sync_from_vars();
    // Stores the widget's value of entry i in its field; int fields take the
    // value truncated toward zero.
    void write_back(std::size_t i);

    bool is_layout_dirty() const { return m_layout_dirty; }
    // The entry whose variable the last drag wrote.
    std::size_t dragged_entry() const { return m_dragged; }
    std::size_t entry_count() const { return m_entries.size(); }
    const tEntry& entry(std::size_t i) const;
    cGuiTxtLabel& label() { return m_label; }

private:
    void add_entry(iVar* var, iGuiNode* widget, bool dirties_layout);

    bool m_layout_dirty = false;
    std::size_t m_dragged = 0;
    std::vector<tEntry> m_entries;
    cGuiTxtLabel m_label;
};
