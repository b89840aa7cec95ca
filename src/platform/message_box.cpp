#include "platform/message_box.h"

#include <SDL.h>
#include <cstdlib>
#include <iostream>

namespace platform {
namespace {
tMessageBoxHook& hook() {
    static tMessageBoxHook installed;
    return installed;
}

bool g_unattended = false;

bool has_display() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

// The box's text on the terminal, with the answer taken.
bool answer_on_terminal(const std::string& text, const std::string& caption, eMessageBox buttons) {
    std::cerr << caption << ": " << text;
    if (buttons == MESSAGE_YES_NO)
        std::cerr << " [No]";
    std::cerr << std::endl;
    return buttons == MESSAGE_OK;
}
} // namespace

void set_message_box_hook(tMessageBoxHook replacement) {
    hook() = std::move(replacement);
}

void set_unattended(bool unattended) {
    g_unattended = unattended;
}

bool boxes_unanswerable() {
    return g_unattended || !has_display();
}

bool message_box(const std::string& text, const std::string& caption, eMessageBox buttons) {
    if (hook())
        return hook()(text, caption, buttons);
    if (boxes_unanswerable())
        return answer_on_terminal(text, caption, buttons);

    const SDL_MessageBoxButtonData yes_no[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    const SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1,
         "OK"},
    };
    SDL_MessageBoxData data{};
    data.flags = buttons == MESSAGE_OK ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
    data.window = nullptr;
    data.title = caption.c_str();
    data.message = text.c_str();
    data.numbuttons = buttons == MESSAGE_OK ? 1 : 2;
    data.buttons = buttons == MESSAGE_OK ? ok : yes_no;
    int pressed = 0;
    if (SDL_ShowMessageBox(&data, &pressed) < 0) {
        // No way to show a box after all: say it on the terminal instead.
        return answer_on_terminal(text, caption, buttons);
    }
    return pressed == 1;
}

} // namespace platform
