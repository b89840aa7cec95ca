#include "midi_loader.h"

#include "debug.h"
#include "event_queue.h"
#include "midi_file.h"

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

    // The whole file into memory; it is decoded in place. It is read in
    // blocks until its end rather than by a size found by seeking, which
    // something that is not a plain file (a folder) reports as huge.
    std::vector<uint8_t> image;
    bool readable = false;
    if (std::FILE* file = std::fopen(file_name.c_str(), "rb")) {
        uint8_t block[65536];
        std::size_t got;
        while ((got = std::fread(block, 1, sizeof block, file)) > 0)
            image.insert(image.end(), block, block + got);
        readable = !std::ferror(file);
        std::fclose(file);
    }
    if (!readable) {
        std::fprintf(stderr, "Unable to open file '%s'!\n", file_name.c_str());
        return false;
    }

    cMidiFile midi;
    bool ok = midi.parse(image.data(), image.size(), std::cout);
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
