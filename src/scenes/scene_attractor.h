// "animated attractors": two additive point clouds from attractor rings in
// front of a background picture with a small dark logo turning on it. The
// cloud shapes step through five presets on the music's beat ticks, faster
// as the piece goes on; every step sets off a contrast burst in the levels
// pass that relaxes over m_burst_ms. Finished by levels and glow.
#pragma once

#include "effects/attractor_point_buffer_gl.h"
#include "effects/round_points.h"
#include "math/vec3.h"
#include "scene.h"
#include "texture_manager.h"

#include <memory>

class iMesh;

class cSceneAttractor : public cScene {
public:
    static constexpr int ANIM_COUNT = 5;

    // Needs the GL context: the point rings own vertex buffers.
    explicit cSceneAttractor(const sTimeBlock* time_block);
    ~cSceneAttractor() override;

    std::string get_name() override { return "animated attractors"; }
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

    // Applies preset k to every field it covers. k outside 0 to 4 stops the
    // program.
    void apply_preset(int k);
    // Applies a changed m_anim, drifts its parameter by one frame, hands the
    // parameters to both rings and computes their next batches.
    void preset_step();
    // Levels input range of the contrast burst at the current time.
    void burst_levels(float* in_black, float* in_white) const;
    // Back to the counts and first-call times of a fresh process (the makers'
    // mode replays the show from its start).
    static void reset_shared_state();

    // Beat ticks counted by every instance, never reset, and the number of
    // ticks between preset changes.
    static int s_tick_count;
    static int s_switch_interval;

    cAttractorPointBuffer_GL m_calc_small{250000, 50000};
    cAttractorPointBuffer_GL m_calc_large{500000, 100000};

    // The tweak fields; the variable list reads and writes them directly.
    float m_p[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float m_randscale = 0.25f;
    Vec3f m_color0{0.0f, 0.0f, 0.0f};
    Vec3f m_color1{0.0f, 0.0f, 0.0f};
    float m_color0_alpha = 0.0f;
    float m_color1_alpha = 0.0f;
    float m_point_size0 = 1.0f;
    float m_point_size1 = 1.0f;
    int m_anim = 1;

    int m_applied_anim = -1;
    int m_anim_switch_ms = -10000; // timeline ms of the last preset change
    float m_burst_ms = 2000.0f;
    float m_rot = 0.0f;   // degrees about the vertical axis
    float m_pulse = 1.0f; // scales the small cloud's alpha

    cTexProxy m_background;
    std::unique_ptr<iMesh> m_arrow;
    std::unique_ptr<iMesh> m_cubes;
    // How the clouds' points are drawn (sprites on a GPU, added on the CPU
    // on a software rasteriser); made by load().
    std::unique_ptr<iRoundPoints> m_points;

private:
    // Copies the fields that save_state keeps, scene to state or back.
    template <class To, class From>
    static void copy_state(To& to, const From& from);
    void drift(float dt);
    void draw_background();
};
