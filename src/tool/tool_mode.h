// The makers' mode (--tool): the show plays as usual, and keys pause it,
// step and seek it (replays from the nearest snapshot bring every
// frame-by-frame effect to the target),
// loop a scene, reload the GLSL programs and the marker script (also by
// themselves when those files are saved), keep the values dragged in the
// panel, and write stills; a text line over the picture tells the time, the
// scene, the frame rate and what holds. It stands beside the engine through
// the engine's hooks; without --tool none of this exists.
#pragma once

#include "engine_hooks.h"
#include "tool/file_watch.h"
#include "tool/show_replay.h"
#include "tool/show_time.h"
#include "tool/still_writer.h"
#include "tool/timeline.h"
#include "tool/tool_overlay.h"

#include <cstdint>
#include <string>

class iClock;

class cToolMode : public iEngineHooks {
public:
    // The mode's own keys (SDL key symbols).
    static const int kKeyPause;     // P
    static const int kKeyLoop;      // L
    static const int kKeyReload;    // R
    static const int kKeySave;      // S: the dragged values to the tweak file
    static const int kKeyForward;   // Right: 5 s on, with Shift 1 s
    static const int kKeyBack;      // Left: 5 s back, with Shift 1 s
    static const int kKeyFrameOn;   // '.': one step on while paused
    static const int kKeyFrameBack; // ',': one step back while paused
    static const int kKeyNextScene; // Page Down
    static const int kKeyPrevScene; // Page Up
    static const int kKeyHome;      // Home
    static const int kKeyStill;     // F12

    // The mode, or none without --tool.
    static cToolMode* instance() { return s_instance; }
    // Creates the mode; call before the engine loads the show. Its clock
    // drives the timeline.
    static cToolMode* start();
    // Deletes the mode (exit handler); harmless when none.
    static void finish();

    iClock* clock() { return m_time.clock(); }
    // --at: the first frame seeks there.
    void start_at(int ms) { m_start_ms = ms; }

    void on_run() override;
    bool before_update(cSkarbol& engine) override;
    void on_key(int key) override;
    void on_drag(const cGuiVarList& list, std::size_t entry) override;
    void after_picture() override;
    void draw_over() override;
    void after_frame() override;

    // The text of the line over the picture.
    std::string status_text() const;

private:
    cToolMode();

    // Where the keys count from: a pending seek's target, or now.
    std::int64_t key_time() const;
    void request_seek_ms(std::int64_t ms);
    // Brings the show to step target (a replay), or back where it was when
    // Escape cancels.
    void seek(cSkarbol& engine, std::int64_t target);
    void reload(cSkarbol& engine);
    void toggle_pause();
    void save_tweaks();
    // Adds the program files and the marker script to the watch.
    void watch_files();

    cShowTime m_time;
    cShowReplay m_replay;
    sTimeline m_timeline;
    cFileWatch m_watch;
    cToolOverlay m_overlay;
    cStillWriter m_stills;
    std::string m_marker_text; // the marker script as last read
    std::int64_t m_start_ms = 0;

    bool m_running = false;
    bool m_loop = false;
    sLoopBounds m_loop_bounds;
    bool m_pending_reload = false;
    bool m_pending_still = false;
    std::int64_t m_pending_step = -1; // a seek's target step
    // The present state is replay step k (-1: off the steps), so live play
    // and a seek forward can go on from here.
    std::int64_t m_step = -1;
    // The show is as loaded, before step 0 (live play then runs step 0 on).
    bool m_fresh = false;

    static cToolMode* s_instance;
};
