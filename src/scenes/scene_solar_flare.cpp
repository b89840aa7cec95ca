#include "scenes/scene_solar_flare.h"

#include "effects/solar_flares_gl.h"
#include "event.h"
#include "gl_entry.h"
#include "midi_event.h"
#include "post_color_correction.h"
#include "post_glow.h"
#include "render_target_manager.h"
#include "resource_path.h"
#include "scene_manager.h"
#include "scenes/scene_target.h"

#include "math/clamp01.h"
#include "math/random.h"

#include <string>

int cSceneSolarFlare::s_first_draw_ms = 0;
bool cSceneSolarFlare::s_first_draw_taken = false;

namespace {
// The flares around the sun, swelling and fading out of step.
constexpr float kFlares = 16.0f;
} // namespace

cSceneSolarFlare::cSceneSolarFlare(const sTimeBlock* time_block)
    : cScene(time_block), m_flare_system(std::make_unique<cSolarFlares_GL>()) {}

cSceneSolarFlare::~cSceneSolarFlare() = default;

void cSceneSolarFlare::load() {
    cResourcePath::instance()->push_searchpath("../data/models/sunflare");
    m_correction = std::make_unique<cPostColorCorrection>("sun_color_correction_orange.png");
    m_flare_system->load();
    cTextureManager* textures = cTextureManager::instance();
    for (int i = 0; i < 5; ++i)
        m_credit_images[i] =
            textures->get_texture("cred" + std::to_string(i + 1) + ".png", true, GL_CLAMP);
}

void cSceneSolarFlare::enter() {
    reset_scene_gl_state();

    m_camera = cCamera();
    m_camera.m_eye = Vec3f(37.0f, 37.0f, 37.0f);
    m_levels.out_black = 13.0f;

    m_flare_system->set_flares_and_gases(kFlares, Vec3f(1.0f, 0.62f, 0.25f));
    m_flare_system->start(timeline_ms());
    if (cMeshEmitter* emitter = m_flare_system->emitter())
        emitter->m_rate = 4000.0f;

    sGlowSettings& glow = cPostGlow::instance()->m_settings;
    glow.threshold = 200.0f;
    glow.gain = 128.0f;
}

void cSceneSolarFlare::on_event(cEvent* event) {
    const cMETrigger* note = as_note_on(event);
    if (!note)
        return;
    if (note->m_track == kFadeBlackTrack)
        m_fade_black_ms = timeline_ms();
    else if (note->m_track == kFadeWhiteTrack)
        m_fade_white_ms = timeline_ms();
}

void cSceneSolarFlare::update() {
    // The sun grows from the first frame of the scene in the process.
    if (!s_first_draw_taken) {
        s_first_draw_ms = timeline_ms();
        s_first_draw_taken = true;
    }
    // Flicker: most frames keep the full input range, one in eight lowers
    // the input white to somewhere between 127.5 and 255.
    m_levels.in_white = float(255.0 * clamp01(0.5 + 4.0 * vt_rand_unit()));
    m_flare_system->update(*m_time_block);
    // Drawn here with the rest of the frame's random numbers, also before
    // the sun has grown and for frames that are not drawn.
    m_flare_system->system().shake();
}

void cSceneSolarFlare::add_vars(cGuiVarList* list) {
    add_levels_vars(list, &m_levels);
    m_flare_system->add_vars(list);
}

float cSceneSolarFlare::growth(int now_ms, int t0_ms, int t1_ms) {
    // A switch at the very first frame would divide zero by zero.
    if (t1_ms == t0_ms)
        return 0.0f;
    return float(clamp01(1.3 * (double(now_ms) - t0_ms) / (double(t1_ms) - t0_ms)));
}

void cSceneSolarFlare::apply_fades(int now_ms) {
    if (m_fade_black_ms != -1)
        m_levels.in_black = float(clamp01((now_ms - m_fade_black_ms) / 600.0 - 0.3) * 250.0);
    if (m_fade_white_ms != -1)
        m_levels.out_black = float(clamp01((now_ms - m_fade_white_ms) / 300.0) * 255.0);
}

void cSceneSolarFlare::reset_first_draw() {
    s_first_draw_ms = 0;
    s_first_draw_taken = false;
}

void cSceneSolarFlare::draw() {
    const int now = timeline_ms();
    int t1 = -1;
    if (const cEventQueue* queue = cSceneManager::instance()->m_eventqueue)
        t1 = queue->find_next(1).m_time;
    const float g = growth(now, s_first_draw_ms, t1);

    // The camera and the passes change both matrices and a good part of the
    // fixed state; the frame hands them back as it found them.
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT |
                 GL_POINT_BIT | GL_TRANSFORM_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();

    cRenderTargetManager* rtm = cRenderTargetManager::instance();
    cRTProxy a = bind_cleared_scene_target(0.0f, 0.0f, 0.0f);

    m_camera.apply();
    glScalef(g, g, g);
    glRotatef(elapsed_seconds() * 10.0f, 0.0f, 0.0f, 1.0f);
    // The sun body is drawn in the current colour, which its texture is
    // multiplied by: white shows the texture as it is, whatever the frame
    // before last set.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Before the sun has grown there is nothing to see: the gases, drawn as
    // points of a fixed pixel size, would all pile up on the centre pixel.
    if (g > 0.0f)
        m_flare_system->draw(now);
    a->unbind();

    apply_fades(now);
    cRTProxy b = rtm->get_rt(cRenderTargetManager::RTT_FULL);
    m_correction->apply_into(*a, *b, &m_levels);
    glow_onto(cPostGlow::instance()->m_settings, *b, cRenderTargetManager::RTT_EIGHTH);
    rtm->release(b);
    rtm->release(a);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

namespace {
struct sSolarFlareState : iSceneState {
    cCamera m_camera;
    sLevelsValues m_levels;
    int m_fade_black_ms = -1;
    int m_fade_white_ms = -1;
    int s_first_draw_ms = 0;
    bool s_first_draw_taken = false;
    cSolarFlares flares;
    std::size_t bytes(std::unordered_set<const void*>*) const override {
        return sizeof(*this) + flares.state_bytes();
    }
};
} // namespace

template <class To, class From>
void cSceneSolarFlare::copy_state(To& to, const From& from) {
    to.m_camera = from.m_camera;
    to.m_levels = from.m_levels;
    to.m_fade_black_ms = from.m_fade_black_ms;
    to.m_fade_white_ms = from.m_fade_white_ms;
    to.s_first_draw_ms = from.s_first_draw_ms;
    to.s_first_draw_taken = from.s_first_draw_taken;
}

std::shared_ptr<const iSceneState> cSceneSolarFlare::save_state() const {
    auto state = std::make_shared<sSolarFlareState>();
    copy_state(*state, *this);
    state->flares.copy_state_from(m_flare_system->system());
    return state;
}

void cSceneSolarFlare::restore_state(const iSceneState& state) {
    const auto& saved = static_cast<const sSolarFlareState&>(state);
    copy_state(*this, saved);
    m_flare_system->system().copy_state_from(saved.flares);
}
