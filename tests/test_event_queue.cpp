#include "event_queue.h"

#include <gtest/gtest.h>

namespace {
// Counts destructions so that ownership can be checked.
struct cCountedEvent : cEvent {
    cCountedEvent(int type, int time, int* deaths) : cEvent(type, time), m_deaths(deaths) {}
    ~cCountedEvent() override { ++*m_deaths; }
    int* m_deaths;
};
} // namespace

TEST(EventQueueTest, NextDueHandsOutEventsStrictlyBeforeTheGivenTime) {
    cEventQueue queue;
    queue.add(new cEvent(16, 500));
    queue.add(new cEvent(3, 0));
    queue.add(new cEvent(32, 900));
    queue.sort();
    queue.rewind();

    // An event at 0 is due only once the timeline has passed 0.
    EXPECT_EQ(queue.next_due(0), nullptr);
    ASSERT_NE(queue.next_due(1), nullptr);
    EXPECT_EQ(queue.next_due(500), nullptr);
    ASSERT_NE(queue.next_due(501), nullptr);
    EXPECT_EQ(queue.cursor(), 2u);
}

TEST(EventQueueTest, FindNextLooksAheadFromTheCursorWithoutMovingIt) {
    cEventQueue queue;
    queue.add(new cEvent(4, 100));
    queue.add(new cEvent(16, 200));
    queue.add(new cEvent(4, 300));
    queue.sort();
    queue.rewind();

    EXPECT_EQ(queue.find_next(4).m_time, 100);
    queue.next_due(150);
    EXPECT_EQ(queue.cursor(), 1u);
    EXPECT_EQ(queue.find_next(4).m_time, 300);
    EXPECT_EQ(queue.cursor(), 1u);
    EXPECT_EQ(queue.find_next(6).m_time, -1);

    cEventQueue empty;
    empty.rewind();
    EXPECT_EQ(empty.next_due(1 << 30), nullptr);
    EXPECT_EQ(empty.find_next(0).m_type, -1);
}

TEST(EventQueueTest, QueueOwnsItsEventsAndClearDeletesThem) {
    int deaths = 0;
    {
        cEventQueue queue;
        queue.add(new cCountedEvent(1, 1, &deaths));
        queue.add(new cCountedEvent(2, 2, &deaths));
        queue.next_due(10); // handing out does not transfer ownership
        queue.clear();
        EXPECT_EQ(deaths, 2);
        EXPECT_EQ(queue.next_due(10), nullptr);
        queue.add(new cCountedEvent(3, 3, &deaths));
    }
    EXPECT_EQ(deaths, 3);
}
