#include "event_queue.h"

#include <algorithm>

cEventQueue::~cEventQueue() {
    clear();
}

cEvent* cEventQueue::next_due(int t) {
    if (m_cursor >= m_events.size())
        return nullptr;
    cEvent* event = m_events[m_cursor];
    if (event->m_time >= t)
        return nullptr;
    ++m_cursor;
    return event;
}

cEvent cEventQueue::find_next(int type) const {
    for (std::size_t i = m_cursor; i < m_events.size(); ++i)
        if (m_events[i]->m_type == type)
            return cEvent(m_events[i]->m_type, m_events[i]->m_time);
    return cEvent(EV_NONE, -1);
}

void cEventQueue::add(cEvent* event) {
    m_events.push_back(event);
}

void cEventQueue::sort() {
    std::sort(m_events.begin(), m_events.end(),
              [](const cEvent* a, const cEvent* b) { return a->m_time < b->m_time; });
}

void cEventQueue::rewind() {
    m_cursor = 0;
}

void cEventQueue::clear() {
    for (cEvent* event : m_events)
        delete event;
    m_events.clear();
    m_cursor = 0;
}
