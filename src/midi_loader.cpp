#include "midi_loader.h"

#include "event_queue.h"
#include "midi_file.h"
#include "read_file.h"
#include "resource_path.h"

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
    load(queue, cResourcePath::instance()->located(MIDI_FILE_NAME));
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

    std::string error;
    if (!add_events(image.data(), image.size(), file_name, *queue, std::cout, std::cerr, &error,
                    cMidiFile::MAX_BEAT_TICKS))
        fatal_error("%s", error.c_str());
    return true;
}

bool cMidiLoader::add_events(const uint8_t* data, std::size_t size, const std::string& file_name,
                             cEventQueue& queue, std::ostream& out, std::ostream& warn,
                             std::string* error, int max_beat_ticks) {
    cMidiFile midi;
    const bool ok = midi.parse(data, size, out, warn);
    out.flush();
    if (!ok) {
        *error = file_name + ": " + midi.error_text();
        return false;
    }
    midi.add_events(queue, warn, max_beat_ticks);
    queue.sort();
    return true;
}
