#include "midi_loader.h"

#include "debug.h"
#include "event_queue.h"
#include "midi_file.h"
#include "read_file.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

void cMidiLoader::fatal_error(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::cout.flush();
    std::fprintf(stderr, "FATAL ERROR: %s\n", text);
    std::fflush(stderr);
    std::exit(1);
}

void cMidiLoader::load(cEventQueue* queue) {
    load(queue, MIDI_FILE_NAME);
}

bool cMidiLoader::load(cEventQueue* queue, const std::string& file_name) {
    if (!queue)
        return true;

    // The whole file into memory; it is decoded in place.
    std::vector<uint8_t> image;
    const bool readable = read_file(file_name, &image);
    if (!readable) {
        std::fprintf(stderr, "Unable to open file '%s'!\n", file_name.c_str());
        return false;
    }

    cMidiFile midi;
    bool ok = midi.parse(image.data(), image.size(), std::cout, std::cerr);
    std::cout.flush();
    if (!ok) {
        if (midi.error() == eMidiError::ASSERTION)
            vt_assert_fail(midi.error_text().c_str(), nullptr, __FILE__, __LINE__);
        fatal_error("%s", midi.error_text().c_str());
    }
    midi.add_events(*queue, std::cerr);
    queue->sort();
    return true;
}
