// The growing scrub: the camera travels along a lit, fogged tunnel of
// branching tubes while the growth front keeps pace ahead of it, and the
// whole structure turns slowly about the tunnel axis. Drum notes on MIDI
// track 1 flash the background blue and thicken the fog. The growth follows a
// fixed two-phase course up to the switch to the next scene; two logo bands
// lie over the finished frame.
#pragma once

#include "effects/scrub_multi_vbo_gl.h"
#include "math/vec3.h"
#include "scene.h"
#include "texture_manager.h"

#include <memory>

class cScrubSpline;

class cSceneScrub : public cScene {
public:
    // The MIDI track of the drum notes that flash the background.
    static constexpr int kDrumTrack = 1;
    // The scene whose switch ends this one's growth course.
    static constexpr int kNextScene = 5;

    explicit cSceneScrub(const sTimeBlock* time_block);
    ~cSceneScrub() override;

    std::string get_name() override { return "growing scrub"; }
    void load() override;
    void enter() override;
    void leave() override;
    // Leaves the matrices and the GL state it changes as it found them.
    void draw() override;
    bool covers_viewport() const override { return true; }
    void on_event(cEvent* event) override;
    // Growth course, then flash.
    void update() override;
    void add_vars(cGuiVarList* list) override;
    std::shared_ptr<const iSceneState> save_state() const override;
    void restore_state(const iSceneState& state) override;

    // The growth parameters at fraction p of the scene's lifetime: speed,
    // ring width, density and the radius range.
    void apply_course(float p);

    // The travel position, shared by every instance.
    static float travel_z() { return s_z; }
    // Forgets the process-wide travel position and first-update time, as if
    // the program had just started.
    static void reset_travel();

    Vec3f m_clear_color{1.0f, 0.84f, 0.0f}; // red, green; blue is the flash's rest value
    Vec3f m_diffuse{0.0f, 0.0f, 0.0f};
    float m_speed = 5.0f;      // travel units per second
    float m_rot_speed = 30.0f; // degrees per second
    std::unique_ptr<cScrubSpline> m_scrub;
    cScrubMultiVBO_GL m_scrub_gl;           // the scrub's geometry in GL buffers
    Vec3f m_radius_range{0.5f, 0.7f, 2.0f}; // min, max, travel between changes
    float m_last_radius_z = -1e9f;
    float m_fog_density = 0.2f; // at rest
    float m_clear_blue = 0.0f;
    float m_flash_smooth = 0.0f;
    float m_fog = 0.2f;
    int m_last_beat_ms = -10000;
    float m_beat_length = 400.0f; // flash decay in ms
    float m_flash = 0.0f;
    float m_flash_strength = 1.0f;
    float m_use_spline = 0.0f; // curved tubes when above 0
    cTexProxy m_logo_top;
    cTexProxy m_logo_bottom;
    float m_split_fac = 10.0f; // shown in the variable list only
    float m_split_sub = 7.39f; // shown in the variable list only
    float m_rdist = 0.0f;      // sideways offset of the eye
    float m_rdist2 = 0.0f;     // extra look-ahead of the target

private:
    // Copies the fields that save_state keeps, scene to state or back.
    template <class To, class From>
    static void copy_state(To& to, const From& from);
    void draw_logos();

    static float s_z;
    static int s_first_update_ms;
    static bool s_first_update_taken;
};
