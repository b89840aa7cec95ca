// The timeline: events sorted by time, handed out by a cursor as the clock
// passes them. The queue owns its events.
#pragma once

#include "event.h"

#include <cstddef>
#include <vector>

class cEventQueue {
public:
    cEventQueue() = default;
    ~cEventQueue();
    cEventQueue(const cEventQueue&) = delete;
    cEventQueue& operator=(const cEventQueue&) = delete;

    // The event at the cursor if its time is strictly below t (the cursor then
    // moves on); otherwise none. Constant time.
    cEvent* next_due(int t);
    // A copy of the first event of the given type at or after the cursor, or an
    // event with type and time -1. The cursor stays.
    cEvent find_next(int type) const;
    // Takes ownership.
    void add(cEvent* event);
    // Ascending time; the order of equal times is not defined.
    void sort();
    void rewind();
    void clear();

    std::size_t size() const { return m_events.size(); }
    const cEvent* at(std::size_t i) const { return m_events[i]; }
    std::size_t cursor() const { return m_cursor; }
    // Puts the cursor where cursor() once was (clamped to the end).
    void set_cursor(std::size_t cursor) {
        m_cursor = cursor < m_events.size() ? cursor : m_events.size();
    }

private:
    std::vector<cEvent*> m_events;
    std::size_t m_cursor = 0;
};
