// A line of text at a point on the screen, drawn with the bitmap font
// "fontlist.png". It takes no input and has no size.
#pragma once

#include "gui/gui_node.h"

#include <string>
#include <utility>

class cGuiTxtLabel : public iGuiNode {
public:
    cGuiTxtLabel() = default;

    void update() override {}
    // Makes the font findable: pushes "../data/textures" onto the search paths.
    void init() override;
    bool handle_event(int type, float x, float y) override;
    void draw() override;
    bool is_inside(const float* x, const float* y) const override;
    void set_position(const float* x, const float* y) override;
    void get_position(float* x, float* y) const override;

    void set_text(std::string text) { m_text = std::move(text); }
    void set_color(float r, float g, float b, float a);
    const std::string& get_text() const { return m_text; }
    const std::string& get_font_name() const { return m_font_name; }

private:
    float m_pos[2] = {0.0f, 0.0f};
    std::string m_text;
    std::string m_font_name = "fontlist.png";
    float m_color[4] = {1.0f, 1.0f, 1.0f, 1.0f}; // the colour the text is drawn in
};
