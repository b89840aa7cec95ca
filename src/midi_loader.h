// Adds the notes, controller changes and beat ticks of the soundtrack's MIDI
// file to the timeline.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
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
    // What load does with the file's bytes, without ending the process:
    // decodes the image, adds its events and beat ticks (at most
    // max_beat_ticks) and sorts the queue. The summary goes to out, warnings
    // to warn. False when the file is damaged beyond use; *error is then the
    // line's text, naming the file, and nothing has been added.
    static bool add_events(const uint8_t* data, std::size_t size, const std::string& file_name,
                           cEventQueue& queue, std::ostream& out, std::ostream& warn,
                           std::string* error, int max_beat_ticks);

    // Writes "FATAL ERROR: " and the formatted text to the error stream and
    // ends the process with exit code 1 through the exit handlers.
    [[noreturn]] static void fatal_error(const char* format, ...)
        __attribute__((format(printf, 1, 2)));
};
