// The opening scene: the sun with its flares and gases grows from nothing
// while it turns, and goes through a flickering levels stage, an orange
// colour-correction lookup and the glow. A note on MIDI track 6 fades the
// picture to black, one on track 7 washes it to white.
#pragma once

#include "post_levels.h"
#include "scene.h"
#include "texture_manager.h"

#include <memory>

class cPostColorCorrection;
class cSolarFlares_GL;

class cSceneSolarFlare : public cScene {
public:
    // MIDI tracks whose note-ons end the scene visually.
    static constexpr int kFadeBlackTrack = 6;
    static constexpr int kFadeWhiteTrack = 7;

    explicit cSceneSolarFlare(const sTimeBlock* time_block);
    ~cSceneSolarFlare() override;

    std::string get_name() override { return "solar flares"; }
    void load() override;
    void enter() override;
    void leave() override {}
    // Leaves the matrices and the GL state it changes as it found them.
    void draw() override;
    bool covers_viewport() const override { return true; }
    void on_event(cEvent* event) override;
    void update() override;
    void add_vars(cGuiVarList* list) override;
    std::shared_ptr<const iSceneState> save_state() const override;
    void restore_state(const iSceneState& state) override;

    // Size of the sun at timeline time now_ms, 0 to 1: full size after 1/1.3
    // of the time from t0_ms (the scene's first frame) to t1_ms (the switch
    // to the next scene). A switch time not after t0_ms (-1: none) keeps it 0.
    static float growth(int now_ms, int t0_ms, int t1_ms);
    // The fades at timeline time now_ms into the levels: a track-6 note raises
    // the input black from 180 ms after it to 250 at 780 ms, a track-7 note
    // the output black to 255 within 300 ms.
    void apply_fades(int now_ms);
    // Forgets the process-wide time of the first frame, as if the program
    // had just started.
    static void reset_first_draw();

    std::unique_ptr<cPostColorCorrection> m_correction;
    sLevelsValues m_levels;
    std::unique_ptr<cSolarFlares_GL> m_flare_system;
    cTexProxy m_credit_images[5]; // loaded for the credits, not drawn here
    int m_fade_black_ms = -1;     // -1 while no track-6 note came
    int m_fade_white_ms = -1;     // -1 while no track-7 note came

private:
    // Copies the fields that save_state keeps, scene to state or back.
    template <class To, class From>
    static void copy_state(To& to, const From& from);
    // Timeline time of the first frame in the process, shared by every
    // instance: a second visit goes on growing instead of starting again.
    static int s_first_draw_ms;
    static bool s_first_draw_taken;
};
