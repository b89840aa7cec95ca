// "sprutte": a creature of six curling arms around a glowing core inside a
// wire cage, drawn with the x-ray shader, with rings and debris rushing past
// and the camera jumping between recorded flights on the drum notes.
#pragma once

#include "mesh_files/camera_path.h"
#include "post_levels.h"
#include "scene.h"
#include "scenes/sprutte_joints.h"

#include <GL/gl.h>

#include <memory>

class cPostColorCorrection;
class iMesh;

class cSceneSprutte : public cScene {
public:
    static constexpr int kPaths = 9;
    // Drum notes before this one only count.
    static constexpr int kFirstActiveNote = 38;

    explicit cSceneSprutte(const sTimeBlock* time_block);
    ~cSceneSprutte() override;

    std::string get_name() override { return "sprutte"; }
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

    // Drum notes received by every instance so far; never reset.
    static int note_count() { return s_note_count; }
    // Back to the counts and first-call times of a fresh process (the makers'
    // mode replays the show from its start).
    static void reset_shared_state();
    // Elapsed seconds at the first draw of the process (the start of the
    // fade-in); meaningful once has_drawn() is true.
    static bool has_drawn() { return s_drawn; }
    static float first_draw_seconds() { return s_first_draw_seconds; }

    sLevelsValues m_levels;
    float m_propagation = 2000.0f;
    tSprutteMatrix m_joint_rot[kSprutteJoints];
    tSprutteMatrix m_joint_frame[kSprutteJoints];
    float m_joint_pos[kSprutteJoints][4] = {};
    tSprutteMatrix m_joint_next[kSprutteJoints];
    float m_angle = 0.0f;
    int m_last_step_ms = 0;
    std::unique_ptr<cPostColorCorrection> m_correction;
    std::unique_ptr<iMesh> m_ball_glow;
    std::unique_ptr<iMesh> m_arm_joint;
    std::unique_ptr<iMesh> m_hair;
    std::unique_ptr<iMesh> m_arm_morph_in;
    std::unique_ptr<iMesh> m_arm_morph_out;
    std::unique_ptr<iMesh> m_cage;
    std::unique_ptr<iMesh> m_ring;
    std::unique_ptr<iMesh> m_debris;
    float m_light_pos[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float m_light_color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    GLenum m_light = GL_LIGHT0;
    Vec3f m_col1;
    Vec3f m_col2;
    int m_beat_a_ms = -10000;
    int m_beat_b_ms = -10000;
    float m_beat_decay = 250.0f;
    cCameraPath m_paths[kPaths];
    int m_path_index = 0;
    int m_path_start_ms = 0;
    bool m_intro_scale = false;

private:
    // Copies the fields that save_state keeps, scene to state or back.
    template <class To, class From>
    static void copy_state(To& to, const From& from);
    void set_light_colour(float r, float g, float b);
    void draw_rings_and_debris(float seconds);
    void draw_creature();
    void draw_arm();

    static int s_note_count;
    static bool s_drawn;
    static float s_first_draw_seconds;
};
