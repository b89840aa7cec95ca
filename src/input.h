// Keyboard and mouse state, written by poll_events once per frame.
#pragma once

#include "math/vec3.h"

#include <map>
#include <vector>

// Codes of the keys the program reads itself (SDL key symbols, as in
// g_keys_down).
constexpr int kKeyTab = 9;
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyQ = 113;

// Keys held down now (SDL key symbols through tolower), each mapped to 0: a
// key is here from its key-down until its key-up.
extern std::map<int, int> g_keys_down;
// Key presses collected by the last poll_events and not yet taken, with their
// number. A held key's repeated key-downs are no presses, and a press counts
// even when its key-up arrived in the same batch of events. The next
// poll_events drops presses that nobody took.
extern std::map<int, int> g_key_presses;
// The pointer in units of the picture's viewport: (0,0) lower left, (1,1)
// upper right of the area the picture and the panel are drawn in.
extern Vec3f g_mouse_pos;
// The same for the last button press.
extern Vec3f g_mouse_click_pos;
// Pressed state by button: 1 to 3 are left, middle and right, 4 and 5 the
// wheel's up and down steps, which stay at 1 once turned. Entry 0 is never
// written.
extern int g_mouse_buttons[6];

// Drains the window's event queue. Closing the window ends the program at
// once, and so does Escape unless escape_ends is false (then it is a press
// like any other: a replay takes it as "cancel").
void poll_events(bool escape_ends = true);

// Presses that the next poll_events hands out again, as if they had just
// come (keys pressed while a replay ran, kept for the frame after it).
void defer_key_presses(const std::vector<int>& keys);

// Takes one press of the key (a key code as in g_keys_down); false when none
// is left. Each press is taken once, so a key acts once per press.
bool take_key_press(int key);

// Window position in pixels to viewport units (see g_mouse_pos).
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
