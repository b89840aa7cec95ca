// Three sliders side by side for the x, y and z of a vector, laid out inside
// the widget's own rectangle.
#pragma once

#include "gui/gui_rectangle.h"
#include "gui/gui_slider.h"
#include "math/vec3.h"

class cGuiVec3Slider : public cGuiRectangle {
public:
    cGuiVec3Slider() = default;

    // Passed to x, y, z in turn until one takes it; GUI_EV_LEAVE reaches all
    // three and is always taken.
    bool handle_event(int type, float x, float y) override;
    void draw() override;
    bool is_inside(const float* x, const float* y) const override;
    bool is_active() const override;
    void set_position(const float* x, const float* y) override;
    void set_size(float width, float height) override;

    // Recorded here and given to each component slider.
    void set_min(float min);
    void set_max(float max);
    float get_min() const { return m_min; }
    float get_max() const { return m_max; }

    void set_values(const Vec3<float>& value);
    Vec3<float> get_values() const;

    // 0, 1, 2 for x, y, z.
    cGuiSlider& component(int i);
    const cGuiSlider& component(int i) const;

private:
    // Each component is total width / 3.1 wide; the rest is split into two
    // equal gaps between them.
    void layout();

    float m_min = 0.0f;
    float m_max = 1.0f;
    cGuiSlider m_sliders[3];
};
