// Where a frame's time goes: the capture's per-pass profile. Passes mark
// themselves with cProfileScope; the profiler waits for the driver to finish
// at every boundary, so each pass is charged with the GL work it queued, and
// a pass that contains others is charged only with what lies outside them.
// Each pass's time is split into submitting (the calls themselves, on a
// software rasteriser also its vertex work and binning) and finishing (the
// wait for the driver at its end, the rasterising that was left): a wait
// after every draw call would distort a tiled rasteriser, a wait per pass
// does not.
#pragma once

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

class cPassProfiler {
public:
    // The running profiler, or none (the passes then cost one test each).
    static cPassProfiler* instance() { return s_instance; }
    // Starts profiling: now() gives seconds of a monotonic clock, sync()
    // waits until the driver has finished what was queued (glFinish).
    static void enable(std::function<double()> now, std::function<void()> sync);
    static void destroy();

    cPassProfiler(std::function<double()> now, std::function<void()> sync);

    // Ends the frame that began at the previous boundary, charging it to the
    // scene that drew it, and starts the next one. A frame that was not drawn
    // (a capture's frame outside its range) is left out of the report.
    void frame_boundary(const std::string& scene, bool drawn = true);
    void begin(const char* pass);
    void end();

    // Per scene in order of appearance: frames and milliseconds a frame, then
    // each pass (nested ones as "outer > inner") with its milliseconds and
    // calls a frame and its split into submitting and finishing, and the
    // rest that no pass covers.
    void report(std::ostream& out) const;

private:
    struct sPassTimes {
        double ms = 0.0;
        double submit_ms = 0.0; // of ms, before the wait for the driver
        long calls = 0;
    };
    // Passes in the order they first ran.
    using tPasses = std::vector<std::pair<std::string, sPassTimes>>;
    struct sSceneTimes {
        long frames = 0;
        double ms = 0.0;
        tPasses passes;
    };
    struct sOpen {
        std::string path;
        double since = 0.0;
    };

    static sPassTimes& find(tPasses& passes, const std::string& path);
    // The clock after the driver has finished; submitted, if given, gets
    // the clock before the wait.
    double now_synced(double* submitted = nullptr);
    // Charges the span since..t of the frame's pass path, of which
    // since..submitted was spent submitting.
    void charge(const std::string& path, double since, double submitted, double t);

    std::function<double()> m_now;
    std::function<void()> m_sync;
    double m_frame_start = -1.0;
    tPasses m_frame; // the frame being drawn
    std::vector<sOpen> m_open;
    std::vector<std::string> m_scene_order;
    std::map<std::string, sSceneTimes> m_scenes;

    static cPassProfiler* s_instance;
};
