// Keyboard and mouse state, written by poll_events once per frame.
#pragma once

#include "math/vec3.h"

#include <map>

// Keys held down (SDL key symbols through tolower), each mapped to 0. A key
// stays until its key-up or until the engine consumes it.
extern std::map<int, int> g_keys_down;
// The pointer in render-area units: (0,0) lower left, (1,1) upper right.
extern Vec3f g_mouse_pos;
// The same for the last button press.
extern Vec3f g_mouse_click_pos;
// Pressed state by SDL button number; entry 0 is never written.
extern int g_mouse_buttons[6];

// Drains the window's event queue. Escape and closing the window end the
// program at once.
void poll_events();

// Window position in pixels to render-area units.
Vec3f mouse_to_render_units(int x, int y);

// One input event in the window's own terms, so that tests can feed it.
enum eInputEvent {
    INPUT_KEY_DOWN,
    INPUT_KEY_UP,
    INPUT_MOTION,
    INPUT_BUTTON_DOWN,
    INPUT_BUTTON_UP,
    INPUT_QUIT
};
void handle_input_event(eInputEvent kind, int key_or_button, int x, int y);
