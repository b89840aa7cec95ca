// Clock sources for the timeline. The scene manager reads a counter and its
// frequency; the platform clock counts nanoseconds of a monotonic clock, and
// the manual clock is set by its owner (fixed-step capture, tests).
#pragma once

#include <cstdint>

class iClock {
public:
    virtual ~iClock() = default;
    virtual std::int64_t counter() = 0;   // ticks since an arbitrary origin
    virtual std::int64_t frequency() = 0; // ticks per second
};

// A clock that only moves when told: counter in milliseconds.
class cClock_manual : public iClock {
public:
    explicit cClock_manual(std::int64_t ms = 0) : m_ms(ms) {}
    std::int64_t counter() override { return m_ms; }
    std::int64_t frequency() override { return 1000; }
    void set_ms(std::int64_t ms) { m_ms = ms; }
    std::int64_t ms() const { return m_ms; }

private:
    std::int64_t m_ms;
};
