// One part of the show: its own assets, camera and timing.
#pragma once

#include "camera.h"

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_set>

class cEvent;
class cGuiVarList;

// A copy of what a scene's enter, on_event and update move (its fields and
// its class's shared values), without GL objects: restore_state puts it back.
class iSceneState {
public:
    virtual ~iSceneState() = default;
    // Memory in bytes; arrays that several copies share count once: only
    // when not in counted yet, and then added to it.
    virtual std::size_t bytes(std::unordered_set<const void*>* counted) const = 0;
};

// The scene manager's clock, in whole milliseconds. Timeline time is
// current - start; scenes read it and never write it.
struct sTimeBlock {
    int start = 0;
    int current = 0;
    int previous = 0;
};

class cScene {
public:
    explicit cScene(const sTimeBlock* time_block) : m_time_block(time_block) {}
    virtual ~cScene() = default;
    cScene(const cScene&) = delete;
    cScene& operator=(const cScene&) = delete;

    virtual std::string get_name() = 0;
    // Loads every asset; once, at start-up, under the load screen.
    virtual void load() = 0;
    // On every switch to this scene (also when it is current already).
    virtual void enter() = 0;
    // Just before a switch replaces this scene.
    virtual void leave() = 0;
    virtual void draw() = 0;
    // True when the frame reaches the window only through passes that paint
    // every pixel of the viewport whatever was there (no blending with it, no
    // depth test): the engine then clears only the window around the viewport.
    virtual bool covers_viewport() const { return false; }
    // An event that became due while this scene is current.
    virtual void on_event(cEvent* event) = 0;
    // Once per frame after the frame's events.
    virtual void update() = 0;
    // Registers the scene's tweak variables.
    virtual void add_vars(cGuiVarList* list);
    // The state that the scene moves; none when nothing moves.
    virtual std::shared_ptr<const iSceneState> save_state() const { return nullptr; }
    // Puts back a state that save_state of the same class made. The
    // scene's drawing side takes it up at the next draw.
    virtual void restore_state(const iSceneState& state) { (void)state; }

    cCamera m_camera;
    const sTimeBlock* m_time_block;

protected:
    // Helpers on the time block.
    int timeline_ms() const { return m_time_block->current - m_time_block->start; }
    float elapsed_seconds() const { return float(timeline_ms() / 1000.0); }
    float frame_seconds() const {
        return float((m_time_block->current - m_time_block->previous) / 1000.0);
    }
};
