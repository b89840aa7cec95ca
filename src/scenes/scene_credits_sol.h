// "greetings" with the sun: long flights through the pre-lit room, later
// flown backwards, a small jittering sun hanging in it, a flickering room
// light and shadows of debris sliding over the floor.
#pragma once

#include "mesh_files/camera_path.h"
#include "post_levels.h"
#include "scene.h"
#include "scenes/credits_room.h"

#include <memory>

class cSolarFlares_GL;
class iMesh;

class cSceneCreditsSol : public cScene {
public:
    static constexpr int kPaths = 4;
    static constexpr int kDebris = 5;

    explicit cSceneCreditsSol(const sTimeBlock* time_block);
    ~cSceneCreditsSol() override;

    std::string get_name() override { return "greetings"; }
    void load() override;
    void enter() override;
    void leave() override {}
    void draw() override;
    bool covers_viewport() const override { return true; }
    void on_event(cEvent* event) override;
    void update() override;
    void add_vars(cGuiVarList* list) override;
    std::shared_ptr<const iSceneState> save_state() const override;
    void restore_state(const iSceneState& state) override;

    // Track-1 notes counted by every instance so far; never reset.
    static int path_note_count() { return s_path_notes; }
    // Back to the counts and first-call times of a fresh process (the makers'
    // mode replays the show from its start).
    static void reset_shared_state();
    // Length in ms of each long flight.
    static int path_ms(int index);

    bool m_loaded = false;
    std::unique_ptr<iMesh> m_room[kCreditsRoomMeshes];
    std::unique_ptr<iMesh> m_debris[kDebris];
    std::unique_ptr<iMesh> m_sphere; // loaded, not drawn
    cTexProxy m_room_maps[kCreditsRoomMaps];
    sLevelsValues m_levels;
    Vec3f m_hsb;                         // hue, saturation, brightness
    Vec3f m_sun_shake{0.0f, 0.0f, 0.0f}; // the frame's random offset of the sun
    float m_flash_decay = 1000.0f;       // shown in the variable list only
    float m_blend = 0.0f;
    cCameraPath m_paths[kPaths];
    int m_path_index = 1;
    int m_path_start_ms = 0;
    std::unique_ptr<cSolarFlares_GL> m_flare_system;
    bool m_reverse = false;

private:
    // Copies the fields that save_state keeps, scene to state or back.
    template <class To, class From>
    static void copy_state(To& to, const From& from);
    void draw_debris_shadows();
    void draw_sun();

    static int s_path_notes;
};
