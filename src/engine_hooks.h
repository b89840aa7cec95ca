// What the engine offers a mode that stands beside it (the makers' mode): a
// say before and after each frame, the keys the engine does not use, the
// panel's drags, and drawing over the picture. The engine knows only this
// interface; without hooks it runs the show as always.
#pragma once

#include <cstddef>

class cGuiVarList;
class cSkarbol;

class iEngineHooks {
public:
    virtual ~iEngineHooks() = default;

    // The music and the clock have started; the frames follow.
    virtual void on_run() = 0;
    // Before the frame's update; false holds the timeline: the frame draws
    // the present state without updating it.
    virtual bool before_update(cSkarbol& engine) = 0;
    // A key press the engine does not use (all but Tab, Space, Escape, q).
    virtual void on_key(int key) = 0;
    // A drag in the panel wrote entry i of the list.
    virtual void on_drag(const cGuiVarList& list, std::size_t entry) = 0;
    // The scene is drawn; neither the panel nor anything else is over it yet.
    virtual void after_picture() = 0;
    // Over the picture and the panel, before the swap.
    virtual void draw_over() = 0;
    // The frame is shown.
    virtual void after_frame() = 0;
};
