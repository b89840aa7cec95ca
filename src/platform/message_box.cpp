#include "platform/message_box.h"

#include <SDL.h>
#include <iostream>

namespace platform {
namespace {
tMessageBoxHook& hook() {
    static tMessageBoxHook installed;
    return installed;
}
} // namespace

void set_message_box_hook(tMessageBoxHook replacement) {
    hook() = std::move(replacement);
}

bool message_box(const std::string& text, const std::string& caption, eMessageBox buttons) {
    if (hook())
        return hook()(text, caption, buttons);

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
        // No way to show a box (no display): say it on the terminal instead.
        std::cerr << caption << ": " << text << std::endl;
        return buttons == MESSAGE_OK;
    }
    return pressed == 1;
}

} // namespace platform
