#include "platform/clock_posix.h"

#include <time.h>

std::int64_t cClock_posix::counter() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void platform_sleep_ms(int ms) {
    timespec wait{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&wait, nullptr);
}
