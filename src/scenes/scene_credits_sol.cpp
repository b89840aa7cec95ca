#include "scenes/scene_credits_sol.h"

#include "effects/solar_flares_gl.h"
#include "gl_entry.h"
#include "gui/camera_vars.h"
#include "gui/gui_var_list.h"
#include "math/random.h"
#include "mesh_files/mesh_obj.h"
#include "midi_event.h"
#include "post_glow.h"
#include "post_hsb.h"
#include "render_target_manager.h"
#include "scenes/scene_loading.h"
#include "scenes/scene_target.h"
#include "shader_manager_glsl.h"

#include <cstdio>

int cSceneCreditsSol::s_path_notes = 0;

void cSceneCreditsSol::reset_shared_state() {
    s_path_notes = 0;
}

namespace {
// From this note on the flights run backwards.
constexpr int kReverseAfterNote = 20;
// The small sun's flares.
constexpr float kFlares = 8.0f;
} // namespace

int cSceneCreditsSol::path_ms(int index) {
    static const int kLengths[kPaths] = {3500, 4500, 5500, 3000};
    return kLengths[index];
}

cSceneCreditsSol::cSceneCreditsSol(const sTimeBlock* time_block) : cScene(time_block) {}

cSceneCreditsSol::~cSceneCreditsSol() = default;

void cSceneCreditsSol::load() {
    if (m_loaded)
        return;
    m_loaded = true;
    load_credits_room_meshes(m_room);
    for (int k = 0; k < kDebris; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "creditrum_vrag%02d.bzobj", k + 1);
        m_debris[k] = load_scene_mesh(name, false);
    }
    m_sphere = load_credits_maps_sphere_and_shader(m_room_maps);
    for (int k = 0; k < kPaths; ++k) {
        char name[24];
        std::snprintf(name, sizeof name, "longpath%02d.pth", k + 1);
        load_scene_path(m_paths[k], name, "cSceneCreditsSol::load");
    }
    m_flare_system = std::make_unique<cSolarFlares_GL>();
    m_flare_system->load();
}

void cSceneCreditsSol::enter() {
    reset_credits_camera(m_camera);
    m_levels.in_black = 75.8564f;
    m_levels.in_white = 170.823f;
    m_hsb = Vec3f(-167.0f, 70.9591f, 19.0f);
    m_flash_decay = 1000.0f;
    m_path_start_ms = timeline_ms();

    sGlowSettings& glow = cPostGlow::instance()->m_settings;
    glow.threshold = 33.0f;
    glow.gain = 128.0f;
    m_flare_system->emitter()->m_rate = 3400.0f;
    m_flare_system->set_flares_and_gases(kFlares, Vec3f(0.2f, 0.71f, 1.0f));
    m_flare_system->start(timeline_ms());
}

void cSceneCreditsSol::on_event(cEvent* event) {
    const cMETrigger* note = as_note_on(event);
    if (!note || note->m_track != 1)
        return;
    const int n = ++s_path_notes;
    if (n % 4 != 0)
        return;
    m_path_index = (m_path_index + 1) % kPaths;
    m_path_start_ms = timeline_ms();
    if (n > kReverseAfterNote)
        m_reverse = true;
}

void cSceneCreditsSol::update() {
    // The shader gets last frame's weight; the new one is for the next.
    set_credits_room_blend(m_blend);
    m_flare_system->update(*m_time_block);
    m_blend = float(0.3 + 0.3 * vt_rand_unit());
    // The sun's shakes are drawn here, after the frame's other random
    // numbers, so that a frame that is not drawn draws them too.
    const double r1 = vt_rand_unit();
    const double r2 = vt_rand_unit();
    const double r3 = vt_rand_unit();
    m_sun_shake = Vec3f(float(3.0 * r3), float(3.0 * r2), float(3.0 * r1));
    m_flare_system->system().shake();
}

void cSceneCreditsSol::add_vars(cGuiVarList* list) {
    add_levels_vars(list, &m_levels);
    add_hsb_vars(list, &m_hsb);
    add_cut_vars(&cPostGlow::instance()->m_settings, list);
    add_camera_vars(&m_camera, list, -1500.0f, 1500.0f);
    list->add_float("decay", &m_flash_decay, 500.0f, 3000.0f);
    list->add_float("blend", &m_blend, 0.0f, 1.0f);
    list->add_int_label("path", &m_path_index);
    m_flare_system->add_vars(list);
}

void cSceneCreditsSol::draw() {
    const int now = timeline_ms();
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();

    // The room needs the depth test, whatever the scene before left behind.
    glEnable(GL_DEPTH_TEST);
    cRTProxy a = bind_cleared_scene_target(1.0f, 1.0f, 1.0f);

    float t = float((now - m_path_start_ms) / double(path_ms(m_path_index)));
    if (m_reverse)
        t = 0.98f - t;
    m_camera.apply_on_path(m_paths[m_path_index], t);
    shaders->bind("lightmap_shader");
    draw_credits_room(m_room, m_room_maps);

    draw_debris_shadows();
    draw_sun();
    a->unbind();

    glow_final(cPostGlow::instance()->m_settings, *a, cRenderTargetManager::RTT_HALF, &m_hsb,
               m_levels);
}

void cSceneCreditsSol::draw_debris_shadows() {
    cShaderManager_GLSL::instance()->unbind();
    glDepthMask(GL_FALSE);
    // Each shadow keeps three quarters of what lies behind it.
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glTranslatef(1200.0f, 200.0f, 0.0f);
    glColor4f(0.0f, 0.0f, 0.0f, 0.25f);
    const double seconds = elapsed_seconds();
    // The translations add up; the first debris mesh is not drawn.
    for (int k = 1; k <= 4; ++k) {
        const int z = int(seconds * k * 100.0) % 500;
        glTranslatef(100.0f, 0.0f, float(z));
        m_debris[k]->draw();
    }
    glPopMatrix();
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_TRUE);
}

void cSceneCreditsSol::draw_sun() {
    glPushMatrix();
    glTranslatef(0.0f, 150.0f, 0.0f);
    glTranslatef(m_sun_shake.x, m_sun_shake.y, m_sun_shake.z);
    glScalef(5.0f, 5.0f, 5.0f);
    // The debris shadows leave a faint black current colour behind; the sun
    // is drawn in its own colours, not as a black disc.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    m_flare_system->draw(timeline_ms());
    glPopMatrix();
}

namespace {
struct sCreditsSolState : iSceneState {
    cCamera m_camera;
    sLevelsValues m_levels;
    Vec3f m_hsb;
    Vec3f m_sun_shake;
    float m_flash_decay = 0.0f;
    float m_blend = 0.0f;
    int m_path_index = 0;
    int m_path_start_ms = 0;
    bool m_reverse = false;
    int s_path_notes = 0;
    cSolarFlares flares;
    std::size_t bytes(std::unordered_set<const void*>*) const override {
        return sizeof(*this) + flares.state_bytes();
    }
};
} // namespace

template <class To, class From>
void cSceneCreditsSol::copy_state(To& to, const From& from) {
    to.m_camera = from.m_camera;
    to.m_levels = from.m_levels;
    to.m_hsb = from.m_hsb;
    to.m_sun_shake = from.m_sun_shake;
    to.m_flash_decay = from.m_flash_decay;
    to.m_blend = from.m_blend;
    to.m_path_index = from.m_path_index;
    to.m_path_start_ms = from.m_path_start_ms;
    to.m_reverse = from.m_reverse;
    to.s_path_notes = from.s_path_notes;
}

std::shared_ptr<const iSceneState> cSceneCreditsSol::save_state() const {
    auto state = std::make_shared<sCreditsSolState>();
    copy_state(*state, *this);
    state->flares.copy_state_from(m_flare_system->system());
    return state;
}

void cSceneCreditsSol::restore_state(const iSceneState& state) {
    const auto& saved = static_cast<const sCreditsSolState&>(state);
    copy_state(*this, saved);
    m_flare_system->system().copy_state_from(saved.flares);
}
