// libFuzzer target for the MIDI decoder and the conversion into timeline events.
#include "event_queue.h"
#include "midi_file.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <streambuf>

namespace {
// Swallows the summary lines.
class cNullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static cNullBuffer buffer;
    static std::ostream null_out(&buffer);

    cMidiFile midi;
    if (midi.parse(data, size, null_out, null_out)) {
        cEventQueue queue;
        // A small cap on beat ticks keeps every run fast; the capping itself
        // is the same code.
        midi.add_events(queue, null_out, 1000);
        queue.sort();
    }
    return 0;
}
