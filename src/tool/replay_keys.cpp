#include "tool/replay_keys.h"

#include "input.h"

#include <cstdlib>
#include <vector>

bool poll_keys_during_replay() {
    poll_events(false);
    if (take_key_press(kKeyQ))
        std::exit(0);
    const bool cancel = take_key_press(kKeyEscape);
    std::vector<int> kept;
    for (const auto& press : g_key_presses)
        if (press.first != kKeyEscape)
            kept.insert(kept.end(), std::size_t(press.second), press.first);
    defer_key_presses(kept);
    g_key_presses.clear();
    return !cancel;
}
