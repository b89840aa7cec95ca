// Standard MIDI files from the score.
#pragma once

#include <cstdint>
#include <vector>

class cScore;

// The sync file that the show reads: format 1, the tempo track first, then one
// track per part, all on MIDI channel 1 (the only channel the show's loader
// takes), note-ons 0x90 and note-offs 0x80, no velocity-0 note-ons.
std::vector<uint8_t> write_sync_midi(const cScore& score);

// The same notes for a General MIDI player: drums and effects on channel 10,
// every other part on a channel of its own with a program change.
std::vector<uint8_t> write_render_midi(const cScore& score);
