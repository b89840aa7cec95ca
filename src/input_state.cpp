// The keyboard and mouse state that poll_events writes and the widgets read.
#include "input.h"

std::map<int, int> g_keys_down;
std::map<int, int> g_key_presses;
Vec3f g_mouse_pos;
Vec3f g_mouse_click_pos;
int g_mouse_buttons[6] = {0, 0, 0, 0, 0, 0};
