// The keys pressed while a replay runs: Escape cancels it, q ends the
// program, and every other press is kept for the frame after the replay.
#pragma once

// Reads the window's events; false when Escape was pressed (the replay is to
// be cancelled). q ends the program here, as in any frame; other presses are
// handed out again by the next frame's poll_events.
bool poll_keys_during_replay();
