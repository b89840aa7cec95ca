// The per-pass profile's bookkeeping, on a clock the test moves by hand.
#include "pass_profiler.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(PassProfilerTest, NestedPassesAreChargedExclusivelyAndAveragedPerScene) {
    double now = 0.0;
    int syncs = 0;
    double wait_ms = 0.0; // what the next sync waits for the driver
    cPassProfiler profiler([&] { return now; },
                           [&] {
                               ++syncs;
                               now += wait_ms / 1000.0;
                               wait_ms = 0.0;
                           });
    auto at = [&](double ms) { now = ms / 1000.0; };

    at(0);
    profiler.frame_boundary("nothing yet"); // starts the first frame only
    for (int frame = 0; frame < 2; ++frame) {
        const double base = frame * 20.0;
        at(base + 1);
        profiler.begin("glow");
        at(base + 3);
        profiler.begin("blur");
        at(base + 6 + frame * 2); // 4 ms, then 6 ms, the last one waiting
        wait_ms = 1.0;
        profiler.end();
        at(base + 10);
        profiler.end();
        at(base + 11);
        profiler.begin("read-back");
        at(base + 12);
        profiler.end();
        at(base + 20);
        profiler.frame_boundary("glowing");
    }
    at(45);
    profiler.end(); // nothing open: ignored
    profiler.frame_boundary("other");
    // A frame that was not drawn is left out, passes and all.
    profiler.begin("update");
    at(50);
    profiler.end();
    profiler.frame_boundary("other", false);
    // Every boundary waits for the driver before it reads the clock.
    EXPECT_EQ(syncs, 1 + 2 * 7 + 1 + 3);

    std::ostringstream out;
    profiler.report(out);
    // Frames are charged to the scene named at their end; glow's own time
    // leaves out its blur, whose wait at its end is its finishing; the rest
    // is what no pass covers.
    EXPECT_EQ(
        out.str(),
        "# profile: scene \"glowing\": 2 frames, 20.00 ms a frame\n"
        "# profile:   glow                                      4.00 ms  20.0%     1.0 calls"
        " (submit 4.00, finish 0.00)\n"
        "# profile:   glow > blur                               5.00 ms  25.0%     1.0 calls"
        " (submit 4.00, finish 1.00)\n"
        "# profile:   read-back                                 1.00 ms   5.0%     1.0 calls"
        " (submit 1.00, finish 0.00)\n"
        "# profile:   (rest)                                   10.00 ms  50.0%     0.0 calls\n"
        "# profile: scene \"other\": 1 frames, 5.00 ms a frame\n"
        "# profile:   (rest)                                    5.00 ms 100.0%     0.0 calls\n");
}
