// libFuzzer target for the MIDI loader: the decoder, its checks and the
// conversion into timeline events, all but reading the file and exiting.
#include "event_queue.h"
#include "midi_loader.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>

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

    cEventQueue queue;
    std::string error;
    // A small cap on beat ticks keeps every run fast; the capping itself is
    // the same code.
    cMidiLoader::add_events(data, size, "fuzz.mid", queue, null_out, null_out, &error, 1000);
    return 0;
}
