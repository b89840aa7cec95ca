// Offline rendering of the show: a fixed-step clock drives the timeline and
// every finished frame is read back from the window and handed to a sink.
#pragma once

#include "capture/capture_progress.h"
#include "capture/frame_readback.h"
#include "capture/frame_sink.h"
#include "capture/frame_writer.h"
#include "clock.h"
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
    // when the result is incomplete. Harmless when none. A capture that
    // failed, did not reach its end, or wrote no frame, is incomplete:
    // nothing is left under the final name, the frames written are kept
    // under the partial one, and the error says why, how far it got and
    // where the frames are.
    static bool finish(std::string* error);

    iClock* clock() { return &m_clock; }
    // Where the show ends: its "quit" marker, or the end of the music.
    void set_end_ms(int ms) { m_end_ms = ms; }
    bool has_end() const { return m_end_ms >= 0; }

    // Before the frame's update: moves the clock to frame k's time,
    // k x 1000 / fps ms, ends the program when the capture is complete, and
    // decides whether the frame is drawn.
    void begin_frame();
    // Only the frames that are written are drawn: drawing changes no state,
    // so the frames before --from and between shots are updated alone. With
    // VANTREL_DRAW_EVERY_FRAME set, every frame is drawn, as older builds
    // did (to time the scenes side by side with them).
    bool draws_frame() const { return m_draw; }
    // After the frame is drawn, before the buffers swap; after the update
    // alone when the frame is not drawn.
    void end_frame();
    // Whether the drawn frame is shown in the window: about four times a
    // second, since on a software rasteriser every swap copies the whole
    // window and nobody needs to see each frame of a capture.
    bool presents_frame();

    // Timeline time of frame k.
    static std::int64_t frame_time_ms(std::int64_t frame, int fps) { return frame * 1000 / fps; }
    // True if a frame at that time is written.
    bool in_range(std::int64_t ms) const;
    // For --shots (ascending times): true if the frame at ms is the first at
    // or after the shot time at *next, which then moves past every shot time
    // up to ms; always true when there are no shots.
    static bool take_shot(const std::vector<int>& shots, std::size_t* next, std::int64_t ms);

private:
    // Time of the drawn frames of one scene, in wall-clock milliseconds from
    // the start of a frame to the start of the next: update, drawing, the
    // wait for the driver in the read-back, handing the frame to the writer
    // and the swap.
    struct sSceneTimes {
        int frames = 0;
        double total_ms = 0.0;
        double worst_ms = 0.0;
    };

    explicit cCapture(const sOptions& options);
    // Exit handler for the exits before the program's own is registered
    // (start-up failures): they too must not leave a capture looking done.
    static void finish_at_early_exit();
    // The last timeline time the capture covers: --to or the show's end,
    // whichever comes first; -1 when neither is known.
    std::int64_t last_ms() const;
    // How far an incomplete capture got, with the frames written.
    std::string stop_text() const;
    // The frames of the range, known once the show's end is.
    void start_progress();
    // Where the drawing stops: last_ms(), or the last shot when earlier.
    std::int64_t progress_end_ms() const;
    void report_progress(bool force);
    // Reads the finished frame back and hands the oldest one in flight to
    // the writer; false with the reason when a frame is lost.
    bool write_frame(int width, int height, std::string* error);
    // Hands every frame in flight to the writer and waits until all are
    // written.
    bool complete_writing(std::string* error);
    // Reads back the frames in flight and hands them to the writer.
    bool read_back_in_flight(std::string* error);
    // Name of the current scene, "(none)" before the first.
    std::string scene_name() const;
    // Charges the time since the drawn frame under way began to its scene.
    void time_drawn_frame(double now);
    // One line per scene: frames, average and worst time of a drawn frame.
    void report_scene_times();

    sOptions m_options;
    std::unique_ptr<iFrameSink> m_sink;
    cClock_manual m_clock;
    std::int64_t m_frame = -1; // frames simulated so far
    std::int64_t m_written = 0;
    int m_end_ms = -1;
    std::size_t m_next_shot = 0;  // index into m_options.shots_ms
    bool m_draw_every_frame;      // VANTREL_DRAW_EVERY_FRAME
    bool m_write = false;         // the frame under way is written
    bool m_draw = false;          // and drawn
    bool m_reached_end = false;   // every frame up to last_ms() was rendered
    bool m_failed = false;        // a frame could not be written
    std::string m_error;          // why
    double m_started_at = 0.0;    // wall-clock seconds of the first frame
    double m_presented_at = -1.0; // wall-clock seconds of the last frame shown
    std::unique_ptr<cCaptureProgress> m_progress;
    // Frames are read back a few frames late and written on the writer's
    // thread; both are made with the first frame written.
    std::unique_ptr<cFrameReadback> m_readback;
    std::unique_ptr<cFrameWriter> m_writer;
    bool m_frame_in_flight = false; // the last frame drawn waits to be read
    double m_frame_started = 0.0;
    std::string m_drawn_scene; // the scene that drew the frame under way
    std::map<std::string, sSceneTimes> m_scene_times;

    static cCapture* s_instance;
};
