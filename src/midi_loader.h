// Adds the notes, controller changes and beat ticks of the soundtrack's MIDI
// file to the timeline.
#pragma once

#include <string>

class cEventQueue;

// The MIDI file that accompanies the music.
constexpr const char* MIDI_FILE_NAME = "../data/music/tonvik7.mid";

class cMidiLoader {
public:
    // Reads MIDI_FILE_NAME, adds its events and beat ticks to the queue and
    // re-sorts it. Prints the file's summary to the standard output. A file
    // that cannot be opened adds nothing; a damaged header or track chunk
    // ends the process. A null queue is left alone.
    void load(cEventQueue* queue);
    // The same for any file; false when the file could not be read.
    bool load(cEventQueue* queue, const std::string& file_name);

    // Writes "FATAL ERROR: " and the formatted text to the error stream and
    // ends the process with exit code 1.
    [[noreturn]] static void fatal_error(const char* format, ...)
        __attribute__((format(printf, 1, 2)));
};
