// The interface of every widget. Coordinates are normalised screen units:
// (0, 0) is the lower left corner, (1, 1) the upper right.
#pragma once

// Event types handled by the widgets. Types 1 to 3 (the mouse buttons) only
// ask whether the point lies on a widget.
enum gui_event {
    GUI_EV_BUTTON_FIRST = 1,
    GUI_EV_BUTTON_LAST = 3,
    GUI_EV_DRAG = 7,  // move the value to the pointer while hovered
    GUI_EV_HOVER = 8, // the pointer is over the widget
    GUI_EV_LEAVE = 9, // the pointer left the widget
};

class iGuiNode {
public:
    virtual ~iGuiNode() = default;

    virtual void update() = 0;
    virtual void init() = 0;
    // Returns true when the widget took the event.
    virtual bool handle_event(int type, float x, float y) = 0;
    virtual void draw() = 0;
    virtual bool is_inside(const float* x, const float* y) const = 0;
    virtual void set_position(const float* x, const float* y) = 0;
    virtual void get_position(float* x, float* y) const = 0;
    // Whether the pointer is over the widget; plain rectangles never are.
    virtual bool is_active() const { return false; }
    // Text labels have no size and ignore this.
    virtual void set_size(float /*width*/, float /*height*/) {}
};
