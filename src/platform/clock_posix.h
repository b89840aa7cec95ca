// The monotonic system clock in nanoseconds.
#pragma once

#include "clock.h"

class cClock_posix : public iClock {
public:
    std::int64_t counter() override;
    std::int64_t frequency() override { return 1000000000; }
};

// Sleeps the calling thread for the given milliseconds.
void platform_sleep_ms(int ms);
