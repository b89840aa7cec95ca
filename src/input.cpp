#include "input.h"

#include "display_settings.h"

#include <SDL.h>
#include <cctype>
#include <cstdlib>

namespace {
// SDL key symbols of printable keys are their characters; others are large
// values that tolower must not see.
int key_code(int symbol) {
    return symbol >= 0 && symbol < 128 ? std::tolower(symbol) : symbol;
}

// Whether the key-down of Escape ends the program (see poll_events).
bool g_escape_ends = true;
std::vector<int> g_deferred_presses;
} // namespace

// The picture and the panel are drawn in the display viewport (a band in the
// middle of the screen, or the whole screen stretched), so the pointer is
// measured in that rectangle. Window rows count from the top, GL rows from the
// bottom of the window.
Vec3f mouse_to_render_units(int x, int y) {
    const cDisplaySettings* settings = cDisplaySettings::instance();
    int viewport[4];
    settings->viewport_rect(viewport);
    int window_width = settings->m_screen_width, window_height = settings->m_screen_height;
    if (settings->m_window)
        SDL_GetWindowSize(settings->m_window, &window_width, &window_height);
    const float gl_y = float(window_height - y);
    return Vec3f(float(x - viewport[0]) / float(viewport[2]),
                 (gl_y - float(viewport[1])) / float(viewport[3]), 0.0f);
}

void defer_key_presses(const std::vector<int>& keys) {
    g_deferred_presses.insert(g_deferred_presses.end(), keys.begin(), keys.end());
}

bool take_key_press(int key) {
    auto it = g_key_presses.find(key);
    if (it == g_key_presses.end())
        return false;
    if (--it->second <= 0)
        g_key_presses.erase(it);
    return true;
}

void handle_input_event(eInputEvent kind, int key_or_button, int x, int y) {
    switch (kind) {
    case INPUT_KEY_DOWN:
        if (key_or_button == kKeyEscape && g_escape_ends)
            std::exit(0);
        g_keys_down.emplace(key_code(key_or_button), 0);
        ++g_key_presses[key_code(key_or_button)];
        break;
    case INPUT_KEY_UP:
        g_keys_down.erase(key_code(key_or_button));
        break;
    case INPUT_MOTION:
        g_mouse_pos = mouse_to_render_units(x, y);
        break;
    case INPUT_BUTTON_DOWN:
        g_mouse_click_pos = mouse_to_render_units(x, y);
        if (key_or_button >= 1 && key_or_button <= 5)
            g_mouse_buttons[key_or_button] = 1;
        break;
    case INPUT_BUTTON_UP:
        // The wheel (4 and 5) never reports a release that matters here.
        if (key_or_button >= 1 && key_or_button <= 3)
            g_mouse_buttons[key_or_button] = 0;
        break;
    case INPUT_QUIT:
        std::exit(0);
    }
}

void poll_events(bool escape_ends) {
    // A press is for the frame that collects it; one nobody took is stale.
    g_key_presses.clear();
    for (int key : g_deferred_presses)
        ++g_key_presses[key];
    g_deferred_presses.clear();
    g_escape_ends = escape_ends;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN:
            // A held key repeats its key-down; only the first is a press.
            if (event.key.repeat)
                break;
            handle_input_event(INPUT_KEY_DOWN, event.key.keysym.sym, 0, 0);
            break;
        case SDL_KEYUP:
            handle_input_event(INPUT_KEY_UP, event.key.keysym.sym, 0, 0);
            break;
        case SDL_MOUSEMOTION:
            handle_input_event(INPUT_MOTION, 0, event.motion.x, event.motion.y);
            break;
        // SDL numbers the side buttons X1 and X2 as 4 and 5, which here are
        // the wheel's steps: only left, middle and right are buttons.
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button <= SDL_BUTTON_RIGHT)
                handle_input_event(INPUT_BUTTON_DOWN, event.button.button, event.button.x,
                                   event.button.y);
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button <= SDL_BUTTON_RIGHT)
                handle_input_event(INPUT_BUTTON_UP, event.button.button, event.button.x,
                                   event.button.y);
            break;
        case SDL_MOUSEWHEEL:
            // SDL 2 reports the wheel on its own; as buttons 4 (up) and 5 (down).
            if (event.wheel.y != 0) {
                int x = 0, y = 0;
                SDL_GetMouseState(&x, &y);
                handle_input_event(INPUT_BUTTON_DOWN, event.wheel.y > 0 ? 4 : 5, x, y);
            }
            break;
        case SDL_QUIT:
            handle_input_event(INPUT_QUIT, 0, 0, 0);
            break;
        default:
            break;
        }
    }
    g_escape_ends = true;
}
