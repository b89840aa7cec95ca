// Feeds arbitrary bytes to the marker-script reader and walks the result.
#include "event_queue_factory.h"

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <memory>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reader's warnings are expected here; keep them off the terminal.
    static std::ostringstream sink;
    static bool quiet = (std::cerr.rdbuf(sink.rdbuf()), true);
    (void)quiet;
    sink.str(std::string());

    std::unique_ptr<cEventQueue> queue(
        cEventQueue_factory::loadText(reinterpret_cast<const char*>(data), size));
    int previous = 0;
    for (std::size_t i = 0; i < queue->size(); ++i) {
        const cEvent* event = queue->at(i);
        if (event->m_type < 0 || event->m_type > 32 || (i > 0 && event->m_time < previous))
            __builtin_trap(); // unsorted queue or an event that should never be queued
        previous = event->m_time;
    }
    while (queue->next_due(previous + 1)) {
    }
    queue->find_next(3);
    return 0;
}
