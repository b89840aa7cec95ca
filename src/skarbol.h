// The engine: start-up of the timeline and the scenes, and the frame loop.
#pragma once

#include "gui/gui_txt_label.h"
#include "gui/gui_var_list.h"

class cScene;
class iEngineHooks;

// Set once an engine has been constructed; there can only be one.
extern bool g_engine_exists;

class cSkarbol {
public:
    cSkarbol();
    cSkarbol(const cSkarbol&) = delete;
    cSkarbol& operator=(const cSkarbol&) = delete;

    // Loads the timeline, the music and the kept tweak values, then the
    // scenes and the MIDI data under the load screen.
    void init();
    // A mode beside the engine (not owned; none: the show alone).
    void set_hooks(iEngineHooks* hooks) { m_hooks = hooks; }
    // Starts the music and the clock, then runs the frames; never returns.
    [[noreturn]] void run();
    [[noreturn]] void vantrel();

    // One pass of the frame loop.
    void frame();
    void handle_keys();
    void refresh_gui(cScene* scene);
    void dump_vars();
    void draw_frame();
    // The variable panel and the scene label over the picture (Tab).
    void draw_gui();

    cGuiVarList m_varlist;
    cGuiTxtLabel m_scene_label;
    cGuiTxtLabel m_label2;
    bool m_show_gui = false;

private:
    iEngineHooks* m_hooks = nullptr;
};
