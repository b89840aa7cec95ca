// The makers' mode (--tool): the show plays as usual, and keys pause it, seek
// (with a replay from a snapshot before the target, so that stateful effects
// show what a run from the start shows), loop a scene, reload the GLSL programs and the
// marker script, and write stills; a text line over the picture tells the
// time, the scene, the frame rate and what holds. Without --tool none of
// this exists and the engine runs exactly as before.
#pragma once

#include "clock.h"
#include "tool/show_replay.h"

#include <cstdint>
#include <string>
#include <vector>

class cGuiVarList;
class cSkarbol;

class cToolMode {
public:
    // The mode's own keys (SDL key symbols).
    static const int kKeyPause;     // P
    static const int kKeyLoop;      // L
    static const int kKeyReload;    // R
    static const int kKeyForward;   // Right: 5 s on, with Shift 1 s
    static const int kKeyBack;      // Left: 5 s back, with Shift 1 s
    static const int kKeyNextScene; // Page Down
    static const int kKeyPrevScene; // Page Up
    static const int kKeyHome;      // Home
    static const int kKeyStill;     // F12

    // The mode, or none without --tool.
    static cToolMode* instance() { return s_instance; }
    // Creates the mode; call before the engine loads the show. The clock it
    // returns drives the timeline.
    static cToolMode* start();
    // Deletes the mode (exit handler); harmless when none.
    static void finish();

    iClock* clock() { return &m_clock; }

    // Once the music plays and the clock runs: the live timeline starts.
    void on_run();
    // A key press; true when it is one of the mode's keys (then consumed).
    bool handle_key(int key);
    // A drag in the panel wrote entry i of the current scene's list. The
    // value is kept and written again after every seek: a replay makes the
    // scenes anew, and the show may have moved the field on meanwhile.
    void remember_tweak(const cGuiVarList& list, std::size_t entry);

    // Before the frame's update: carries out a pending reload or seek and
    // moves the clock. False while paused: the timeline stands still and the
    // frame only shows the held picture.
    bool begin_frame(cSkarbol* engine);
    // The frame's picture: the scene, or the held one while paused.
    void draw_picture();
    // After the picture and the panel, before the swap: writes a requested
    // still, then the text line (so it is never in a still).
    void end_frame();

    // The text of the line over the picture.
    std::string status_text() const;
    bool paused() const { return m_paused; }
    bool looping() const { return m_loop; }

private:
    cToolMode();
    ~cToolMode();

    int timeline_ms() const;
    // The first step time after a scene switch at ms: where the new scene
    // is current.
    static int landing_ms(int switch_ms);
    // Scene switches and the end (the "quit" marker or the music's end).
    void read_timeline();
    void request_seek(std::int64_t target_ms);
    void seek(cSkarbol* engine, int target_ms);
    void reload(cSkarbol* engine);
    void set_paused(bool paused);
    void set_loop_bounds();
    void write_still();
    void draw_text_line(const std::string& text);
    // Shows the replay's progress on a cleared screen; false when Escape
    // cancels the replay.
    bool show_progress(int target_ms, int at_ms);
    // Writes every kept panel value into its scene's field.
    void restore_tweaks();

    // A value dragged in the panel: the scene's number, the entry's place
    // and name in the scene's list, and the value (a number is value[0]).
    struct sTweak {
        std::size_t scene = 0;
        std::size_t entry = 0;
        std::string name;
        float value[3] = {0.0f, 0.0f, 0.0f};
    };
    std::vector<sTweak> m_tweaks;

    cClock_manual m_clock;
    cShowReplay m_replay;
    std::vector<int> m_switches; // times of the scene-switch markers, ascending
    int m_end_ms = 0;            // the timeline stops here instead of ending
    std::string m_marker_text;   // the marker script as last read

    bool m_running = false;
    bool m_paused = false;
    bool m_landing = false; // the frame after a seek draws its picture
    bool m_loop = false;
    int m_loop_from_ms = 0;   // the looped scene's switch
    int m_loop_to_ms = 0;     // the next switch
    int m_loop_target_ms = 0; // where the loop goes back to: the looped scene's first step
    std::int64_t m_pending_seek = -1;
    bool m_pending_reload = false;
    bool m_pending_still = false;
    // The present state is replay step k (-1: reached some other way), so a
    // seek forward can go on from here.
    std::int64_t m_step = -1;
    // Live playback: timeline time at a wall-clock moment.
    int m_anchor_ms = 0;
    double m_anchor_wall = 0.0;

    // The picture held while paused: a copy of the window.
    unsigned m_held_texture = 0;
    int m_held_width = 0;
    int m_held_height = 0;

    // Frames per second, over the last half second.
    double m_fps = 0.0;
    int m_fps_frames = 0;
    double m_fps_since = 0.0;

    static cToolMode* s_instance;
};
