// The per-pass profile's bookkeeping, on a clock the test moves by hand, and
// the renderer line at its head.
#include "pass_profiler.h"
#include "renderer_traits.h"

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

    cRendererTraits::instance()->decide("llvmpipe (LLVM 15.0.6, 256 bits)", nullptr);
    std::ostringstream out;
    profiler.report(out);
    // Frames are charged to the scene named at their end; glow's own time
    // leaves out its blur, whose wait at its end is its finishing; the rest
    // is what no pass covers.
    EXPECT_EQ(
        out.str(),
        "# profile: renderer llvmpipe (LLVM 15.0.6, 256 bits): software rasteriser, points on "
        "the CPU\n"
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

TEST(PassProfilerTest, RendererTraitsComeFromTheDriverUnlessOverridden) {
    struct sCase {
        const char* renderer;
        const char* override_value;
        bool software;
    } const cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", nullptr, true},
        {"softpipe", "", true},
        {"Mesa Intel(R) UHD Graphics 620", nullptr, false},
        {"llvmpipe (LLVM 15.0.6, 256 bits)", "gpu", false},
        {"NVIDIA GeForce", "software", true},
        {"NVIDIA GeForce", "splat", false}, // not a choice: reported, ignored
        {nullptr, nullptr, false},
    };
    for (const sCase& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.renderer ? c.renderer : "(none)") << ", "
                                        << (c.override_value ? c.override_value : "(none)"));
        cRendererTraits::instance()->decide(c.renderer, c.override_value);
        EXPECT_EQ(cRendererTraits::instance()->software_rasteriser(), c.software);
    }
}
