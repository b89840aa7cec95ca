// Modal message boxes without an owner window.
#pragma once

#include <functional>
#include <string>

namespace platform {

enum eMessageBox { MESSAGE_OK, MESSAGE_YES_NO };

// Shows a box with OK or Yes/No buttons; returns true for Yes (and for OK).
bool message_box(const std::string& text, const std::string& caption, eMessageBox buttons);

// Replaces the real boxes (tests; headless runs must never block on one).
// An empty function restores them.
using tMessageBoxHook =
    std::function<bool(const std::string& text, const std::string& caption, eMessageBox)>;
void set_message_box_hook(tMessageBoxHook hook);

} // namespace platform
