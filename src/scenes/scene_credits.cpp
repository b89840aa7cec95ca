#include "scenes/scene_credits.h"

#include "gl_entry.h"
#include "gui/camera_vars.h"
#include "gui/gui_var_list.h"
#include "math/clamp01.h"
#include "math/smoothstep.h"
#include "mesh_files/mesh_obj.h"
#include "midi_event.h"
#include "post_glow.h"
#include "post_hsb.h"
#include "render_target_manager.h"
#include "scenes/scene_loading.h"
#include "scenes/scene_target.h"
#include "shader_manager_glsl.h"

#include <cmath>
#include <cstdio>

int cSceneCredits::s_flash_notes = 0;
int cSceneCredits::s_path_notes = 0;
bool cSceneCredits::s_drawn = false;
int cSceneCredits::s_first_draw_ms = 0;

void cSceneCredits::reset_shared_state() {
    s_flash_notes = 0;
    s_path_notes = 0;
    s_drawn = false;
    s_first_draw_ms = 0;
}

namespace {
constexpr int kPathMs = 1500;
constexpr int kLightFadeMs = 400;
constexpr int kOpeningMs = 1500;
} // namespace

cSceneCredits::cSceneCredits(const sTimeBlock* time_block) : cScene(time_block) {}

cSceneCredits::~cSceneCredits() = default;

void cSceneCredits::load() {
    if (m_loaded)
        return;
    m_loaded = true;
    load_credits_room_meshes(m_room);
    m_sphere = load_credits_maps_sphere_and_shader(m_room_maps);
    for (int k = 0; k < kPaths; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "cam%02d.pth", k + 1);
        load_scene_path(m_paths[k], name, "cSceneCredits::load");
    }
}

void cSceneCredits::enter() {
    reset_credits_camera(m_camera);
    m_hsb.x = -147.0f;
    m_flash_decay = 1000.0f;
    m_path_start_ms = timeline_ms();
    sGlowSettings& glow = cPostGlow::instance()->m_settings;
    glow.threshold = 200.0f;
    glow.gain = 128.0f;
}

void cSceneCredits::on_event(cEvent* event) {
    const cMETrigger* note = as_note_on(event);
    if (!note)
        return;
    switch (note->m_track) {
    case 10:
        if (++s_flash_notes % 3 == 0)
            m_flash_ms = timeline_ms();
        break;
    case 1:
        if (++s_path_notes % 2 == 0) {
            m_path_index = (m_path_index + 1) % kPaths;
            m_path_start_ms = timeline_ms();
        }
        break;
    case 4:
        m_light_note_ms = timeline_ms();
        break;
    default:
        break;
    }
}

void cSceneCredits::update() {
    if (!s_drawn) {
        s_drawn = true;
        s_first_draw_ms = timeline_ms();
    }
    // The shader gets last frame's weight; the new one is for the next.
    set_credits_room_blend(m_blend);
    m_blend = float(1.0 - clamp01((timeline_ms() - m_light_note_ms) / double(kLightFadeMs)));
}

void cSceneCredits::add_vars(cGuiVarList* list) {
    add_levels_vars(list, &m_levels);
    add_hsb_vars(list, &m_hsb);
    add_cut_vars(&cPostGlow::instance()->m_settings, list);
    add_camera_vars(&m_camera, list, -1500.0f, 1500.0f);
    list->add_float("decay", &m_flash_decay, 500.0f, 3000.0f);
    list->add_float("blend", &m_blend, 0.0f, 1.0f);
}

void cSceneCredits::draw() {
    const int now = timeline_ms();
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();

    // The room needs the depth test with depth writes and no blending,
    // whatever the scene before left behind (after a seek it can be any).
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    cRTProxy a = bind_cleared_scene_target(1.0f, 1.0f, 1.0f);

    const float t = float((now - m_path_start_ms) / double(kPathMs));
    m_camera.apply_on_path(m_paths[m_path_index], t);
    shaders->bind("lightmap_shader");
    draw_credits_room(m_room, m_room_maps);

    shaders->unbind();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glColor4f(m_blend, m_blend, m_blend, 1.0f);
    m_sphere->draw();
    a->unbind();

    // Flash: levels squeeze the picture and the colour drains out at once,
    // then both relax over the decay.
    const double s = smoothstep(1.2 * (1.0 - (now - m_flash_ms) / double(m_flash_decay)));
    m_levels.in_black = float(63.0 * s);
    m_levels.in_white = float(255.0 - 180.0 * s);
    m_hsb.y = float(70.0 - 170.0 * std::pow(s, 1.0 / 7.0));

    m_levels.out_black =
        float(255.0 * smoothstep(1.0 - (now - s_first_draw_ms) / double(kOpeningMs)));

    glow_final(cPostGlow::instance()->m_settings, *a, cRenderTargetManager::RTT_HALF, &m_hsb,
               m_levels);
}

namespace {
struct sCreditsState : iSceneState {
    cCamera m_camera;
    sLevelsValues m_levels;
    Vec3f m_hsb;
    int m_flash_ms = 0;
    float m_flash_decay = 0.0f;
    float m_blend = 0.0f;
    int m_path_index = 0;
    int m_path_start_ms = 0;
    int m_light_note_ms = 0;
    int s_flash_notes = 0;
    int s_path_notes = 0;
    bool s_drawn = false;
    int s_first_draw_ms = 0;
    std::size_t bytes(std::unordered_set<const void*>*) const override { return sizeof(*this); }
};
} // namespace

template <class To, class From>
void cSceneCredits::copy_state(To& to, const From& from) {
    to.m_camera = from.m_camera;
    to.m_levels = from.m_levels;
    to.m_hsb = from.m_hsb;
    to.m_flash_ms = from.m_flash_ms;
    to.m_flash_decay = from.m_flash_decay;
    to.m_blend = from.m_blend;
    to.m_path_index = from.m_path_index;
    to.m_path_start_ms = from.m_path_start_ms;
    to.m_light_note_ms = from.m_light_note_ms;
    to.s_flash_notes = from.s_flash_notes;
    to.s_path_notes = from.s_path_notes;
    to.s_drawn = from.s_drawn;
    to.s_first_draw_ms = from.s_first_draw_ms;
}

std::shared_ptr<const iSceneState> cSceneCredits::save_state() const {
    auto state = std::make_shared<sCreditsState>();
    copy_state(*state, *this);
    return state;
}

void cSceneCredits::restore_state(const iSceneState& state) {
    copy_state(*this, static_cast<const sCreditsState&>(state));
}
