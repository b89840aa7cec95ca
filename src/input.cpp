#include "input.h"

#include "display_settings.h"

#include <SDL.h>
#include <cctype>
#include <cstdlib>

namespace {
const int kKeyEscape = 27;

// SDL key symbols of printable keys are their characters; others are large
// values that tolower must not see.
int key_code(int symbol) {
    return symbol >= 0 && symbol < 128 ? std::tolower(symbol) : symbol;
}
} // namespace

Vec3f mouse_to_render_units(int x, int y) {
    const cDisplaySettings* settings = cDisplaySettings::instance();
    return Vec3f(float(x) / float(settings->m_render_width),
                 float(settings->m_render_height - y) / float(settings->m_render_height), 0.0f);
}

void handle_input_event(eInputEvent kind, int key_or_button, int x, int y) {
    switch (kind) {
    case INPUT_KEY_DOWN:
        if (key_or_button == kKeyEscape)
            std::exit(0);
        g_keys_down.emplace(key_code(key_or_button), 0);
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

void poll_events() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN:
            handle_input_event(INPUT_KEY_DOWN, event.key.keysym.sym, 0, 0);
            break;
        case SDL_KEYUP:
            handle_input_event(INPUT_KEY_UP, event.key.keysym.sym, 0, 0);
            break;
        case SDL_MOUSEMOTION:
            handle_input_event(INPUT_MOTION, 0, event.motion.x, event.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
            handle_input_event(INPUT_BUTTON_DOWN, event.button.button, event.button.x,
                               event.button.y);
            break;
        case SDL_MOUSEBUTTONUP:
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
}
