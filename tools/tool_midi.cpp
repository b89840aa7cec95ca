// vantrel-tool midi FILE: shows what the demo takes from a MIDI file, the
// loader's summary followed by every queued event in timeline order.
#include "tool_commands.h"

#include "event_queue.h"
#include "midi_event.h"
#include "midi_loader.h"

#include <cstdio>
#include <iostream>

int tool_midi(int argc, char** argv) {
    if (argc != 1) {
        std::fprintf(stderr, "usage: vantrel-tool midi FILE\n");
        return 2;
    }
    const char* file_name = argv[0];
    cEventQueue queue;
    cMidiLoader loader;
    // Unlike the demo, which carries on without MIDI events, the tool has
    // nothing to show without the file.
    if (!loader.load(&queue, file_name))
        return 1;
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const cEvent* event = queue.at(i);
        std::cout << event->m_time << ' ' << event->m_type;
        if (const iMidiEvent* midi = dynamic_cast<const iMidiEvent*>(event))
            std::cout << ' ' << midi->m_kind << ' ' << midi->m_track << ' ' << midi->m_data1 << ' '
                      << midi->m_data2;
        std::cout << '\n';
    }
    return 0;
}
