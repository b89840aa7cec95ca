// An outlined, filled rectangle: the base of the sliders and the variable list.
#pragma once

#include "gui/gui_node.h"

class cGuiRectangle : public iGuiNode {
public:
    cGuiRectangle() = default;

    void update() override {}
    void init() override {}
    bool handle_event(int type, float x, float y) override;
    void draw() override;
    // Strictly inside: a point on the border is outside.
    bool is_inside(const float* x, const float* y) const override;
    void set_position(const float* x, const float* y) override;
    void get_position(float* x, float* y) const override;
    void set_size(float width, float height) override;

    void get_size(float* width, float* height) const;
    const float* get_fill_color() const { return m_fill_color; }
    void set_fill_color(float r, float g, float b, float a);

protected:
    float m_outline_color[4] = {1.0f, 1.0f, 1.0f, 0.25f};
    float m_fill_color[4] = {1.0f, 1.0f, 1.0f, 0.15f};
    // Width and height; negative until set.
    float m_size[2] = {-1.0f, -1.0f};
    // Lower left corner; off screen until set.
    float m_pos[2] = {-1.0f, -1.0f};
};
