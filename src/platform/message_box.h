// Modal message boxes without an owner window.
#pragma once

#include <functional>
#include <string>

namespace platform {

enum eMessageBox { MESSAGE_OK, MESSAGE_YES_NO };

// Shows a box with OK or Yes/No buttons; returns true for Yes (and for OK).
// Where nobody could answer it (unattended, or no display to show it on) it
// writes caption and text to the error stream instead and takes the default
// answer: No, or OK.
bool message_box(const std::string& text, const std::string& caption, eMessageBox buttons);

// An unattended run (a capture) must never wait on a box, even where a
// display exists, such as a virtual one that nobody looks at.
void set_unattended(bool unattended);
// True when unattended, or when there is no display to show a box on.
bool boxes_unanswerable();

// Replaces the real boxes (tests; headless runs must never block on one).
// An empty function restores them.
using tMessageBoxHook =
    std::function<bool(const std::string& text, const std::string& caption, eMessageBox)>;
void set_message_box_hook(tMessageBoxHook hook);

} // namespace platform
