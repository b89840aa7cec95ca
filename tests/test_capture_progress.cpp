// What a capture reports while it runs: the size of its range, and lines a
// person can read on a terminal and in a log.
#include "capture/capture_progress.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

TEST(CaptureProgress, RangeHoldsTheFramesWhoseTimesFallInIt) {
    struct sCase {
        int from_ms, last_ms, fps;
        std::int64_t first, last;
    };
    // Frame k is at k x 1000 / fps ms, rounded down; the range's ends count.
    const sCase cases[] = {
        {500, 1500, 10, 5, 15}, {1, 100, 30, 1, 3}, {34, 66, 30, 2, 2}, {35, 65, 30, 2, 1}};
    for (const sCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.from_ms) + ".." + std::to_string(c.last_ms));
        EXPECT_EQ(cCaptureProgress::first_frame(c.from_ms, c.fps), c.first);
        EXPECT_EQ(cCaptureProgress::last_frame(c.last_ms, c.fps), c.last);
        cCaptureProgress progress(c.fps, c.first, c.last, false);
        EXPECT_EQ(progress.frame_count(), c.last >= c.first ? c.last - c.first + 1 : 0);
    }
    EXPECT_EQ(cCaptureProgress::last_frame(-1, 30), -1);
}

TEST(CaptureProgress, LinesSayHowFarHowFastAndHowLong) {
    cCaptureProgress progress(30, 0, 6540, false);
    EXPECT_EQ(progress.start_line(), "# capture: 6541 frames, 00:00:00,000 to 00:03:38,000 at 30 "
                                     "frames/s");
    EXPECT_EQ(progress.status(2999, 3000, 200.0, false),
              "# capture:  45.9%, frame 3000/6541, 00:01:39,966, 15.0 frames/s, 3:56 left");
    EXPECT_NE(progress.status(6541, 6541, 3700.0, true).find("took 1:01:40"), std::string::npos);
    // Frames before the range go fast (not drawn): the pace and the time
    // left are the range's own, not the average since frame 0.
    cCaptureProgress late(30, 300, 899, false);
    late.update(299, 0, 2.0, false);
    EXPECT_EQ(late.status(299, 0, 2.0, false), "# capture:   0.0%, frame 0/600, 00:00:09,966");
    EXPECT_EQ(late.status(599, 300, 12.0, false),
              "# capture:  50.0%, frame 300/600, 00:00:19,966, 30.0 frames/s, 0:10 left");
    cCaptureProgress open_end(30, 30, -1, false);
    EXPECT_EQ(open_end.status(59, 30, 4.0, false),
              "# capture: frame 30, 00:00:01,966, 7.5 frames/s");

    // A log gets whole lines every few seconds; a terminal one line that is
    // rewritten often and ended at the close.
    cCaptureProgress log(30, 0, 100, false);
    EXPECT_EQ(log.update(0, 1, 0.0, false).back(), '\n');
    EXPECT_EQ(log.update(1, 2, 1.0, false), "");
    EXPECT_NE(log.update(9, 10, 6.0, false), "");
    cCaptureProgress terminal(30, 0, 100, true);
    EXPECT_NE(terminal.update(1, 2, 0.5, false), "");
    const std::string last = terminal.update(2, 3, 0.6, true);
    EXPECT_EQ(last.front(), '\r');
    EXPECT_EQ(last.substr(last.size() - 4), "\033[K\n");
}
