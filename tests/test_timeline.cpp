// The makers' timeline: where its keys go from a time.
#include "event_queue_factory.h"
#include "tool/timeline.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

TEST(ToolTimeline, KeysGoWhereAMakerExpects) {
    const char kMarkers[] = "s06 0:0:0,001\ns00 0:0:1,500\ns06 0:0:3,000\nquit 0:0:9,000\n";
    std::unique_ptr<cEventQueue> queue(
        cEventQueue_factory::loadText(kMarkers, std::strlen(kMarkers)));
    const sTimeline timeline = read_timeline(queue.get(), 5000);
    ASSERT_EQ(timeline.switches, (std::vector<int>{1, 1500, 3000}));
    ASSERT_EQ(timeline.end_ms, 9000); // the quit marker, not the music
    EXPECT_EQ(read_timeline(nullptr, 5000).end_ms, 5000);

    // From now: Page Down, Page Up, the loop (from, to, back to), the
    // steps ',' and '.' land on, and where a seek to now lands.
    const struct {
        std::int64_t now, next, previous;
        int loop_from, loop_to, loop_target;
        std::int64_t frame_back, frame_on, landing;
    } cases[] = {
        {0, 16, 0, 0, 1, 0, 0, 1, 0},
        {16, 1516, 0, 1, 1500, 16, 0, 2, 1},
        {1000, 1516, 0, 1, 1500, 16, 59, 61, 60},            // the start: no scene before
        {1516, 3016, 16, 1500, 3000, 1516, 90, 92, 91},      // within a second: the scene before
        {2600, 3016, 1516, 1500, 3000, 1516, 155, 157, 156}, // later: its own start
        {3000, 3016, 1516, 1500, 3000, 1516, 179, 181, 180},
        {8990, -1, 3016, 3000, 9000, 3016, 539, 540, 540},
        {9000, -1, 3016, 3000, 9000, 3016, 539, 540, 540}, // nothing past the end
        {12000, -1, 3016, 3000, 9000, 3016, 719, 540, 540},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.now);
        EXPECT_EQ(next_scene_ms(timeline, c.now), c.next);
        EXPECT_EQ(previous_scene_ms(timeline, c.now), c.previous);
        const sLoopBounds loop = loop_bounds(timeline, c.now);
        EXPECT_EQ(loop.from_ms, c.loop_from);
        EXPECT_EQ(loop.to_ms, c.loop_to);
        EXPECT_EQ(loop.target_ms, c.loop_target);
        EXPECT_EQ(previous_frame_step(c.now), c.frame_back);
        EXPECT_EQ(next_frame_step(timeline, c.now), c.frame_on);
        EXPECT_EQ(landing_step(timeline, c.now), c.landing);
    }
    EXPECT_EQ(clamp_to_timeline(timeline, -5), 0);
    EXPECT_EQ(clamp_to_timeline(timeline, 9001), 9000);
}
