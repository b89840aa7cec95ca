// "greetings": the camera hops between short flights through the pre-lit
// room; a sphere and the room light pulse on one drum track and every third
// note of another flashes the picture.
#pragma once

#include "mesh_files/camera_path.h"
#include "post_levels.h"
#include "scene.h"
#include "scenes/credits_room.h"

#include <memory>

class iMesh;

class cSceneCredits : public cScene {
public:
    static constexpr int kPaths = 8;

    explicit cSceneCredits(const sTimeBlock* time_block);
    ~cSceneCredits() override;

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

    // Notes counted by every instance so far (track 10 flashes, track 1
    // paths); never reset.
    static int flash_note_count() { return s_flash_notes; }
    static int path_note_count() { return s_path_notes; }
    // Back to the counts and first-call times of a fresh process (the makers'
    // mode replays the show from its start).
    static void reset_shared_state();

    bool m_loaded = false;
    std::unique_ptr<iMesh> m_room[kCreditsRoomMeshes];
    std::unique_ptr<iMesh> m_sphere;
    cTexProxy m_room_maps[kCreditsRoomMaps];
    sLevelsValues m_levels;
    Vec3f m_hsb; // hue, saturation, brightness
    int m_flash_ms = -10000;
    float m_flash_decay = 1000.0f;
    float m_blend = 0.0f;
    cCameraPath m_paths[kPaths];
    int m_path_index = 0;
    int m_path_start_ms = 0;
    int m_light_note_ms = -10000;

private:
    // Copies the fields that save_state keeps, scene to state or back.
    template <class To, class From>
    static void copy_state(To& to, const From& from);
    static int s_flash_notes;
    static int s_path_notes;
    // Timeline time of the process's first frame of this scene: it opens
    // from white.
    static bool s_drawn;
    static int s_first_draw_ms;
};
