// Offline rendering of the show: a fixed-step clock drives the timeline and
// every finished frame is read back from the window and handed to a sink.
#pragma once

#include "clock.h"
#include "frame_sink.h"
#include "options.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class cCapture {
public:
    // The running capture, or none.
    static cCapture* instance() { return s_instance; }
    // Creates the capture and checks its destination before any work; false
    // with the reason when it cannot be written.
    static bool start(const sOptions& options, const std::string& music_path, std::string* error);
    // Completes the destination and deletes the capture (exit handler); false
    // when the result is incomplete. Harmless when none.
    static bool finish(std::string* error);

    iClock* clock() { return &m_clock; }
    // Where the show would end without a "quit" marker (the end of the music).
    void set_end_ms(int ms) { m_end_ms = ms; }
    bool has_end() const { return m_end_ms >= 0; }

    // Before the frame's update: moves the clock to frame k's time,
    // k x 1000 / fps ms, and ends the program when the capture is complete.
    void begin_frame();
    // After the frame is drawn, before the buffers swap.
    void end_frame();

    // Timeline time of frame k.
    static std::int64_t frame_time_ms(std::int64_t frame, int fps) { return frame * 1000 / fps; }
    // True if a frame at that time is written.
    bool in_range(std::int64_t ms) const;

private:
    // Drawing time of the frames of one scene, in wall-clock milliseconds.
    struct sSceneTimes {
        int frames = 0;
        double total_ms = 0.0;
        double worst_ms = 0.0;
    };

    explicit cCapture(const sOptions& options);
    void report_progress(bool force);
    // Name of the current scene, "(none)" before the first.
    std::string scene_name() const;
    // One line per scene: frames, average and worst drawing time.
    void report_scene_times();

    sOptions m_options;
    std::unique_ptr<iFrameSink> m_sink;
    cClock_manual m_clock;
    std::int64_t m_frame = -1; // frames simulated so far
    std::int64_t m_written = 0;
    int m_end_ms = -1;
    bool m_failed = false; // a frame could not be written
    double m_started_at = 0.0;
    double m_last_report = 0.0;
    std::vector<std::uint8_t> m_pixels;
    double m_frame_started = 0.0;
    std::map<std::string, sSceneTimes> m_scene_times;

    static cCapture* s_instance;
};
