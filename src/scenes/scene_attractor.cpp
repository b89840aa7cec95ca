#include "scenes/scene_attractor.h"

#include "debug.h"
#include "display_settings.h"
#include "event.h"
#include "gl_entry.h"
#include "gui/gui_var_list.h"
#include "mesh_files/mesh_obj.h"
#include "post_glow.h"
#include "post_levels.h"
#include "profile_scope.h"
#include "render_fsq.h"
#include "render_target_manager.h"
#include "resource_path.h"
#include "scenes/scene_loading.h"
#include "scenes/scene_target.h"
#include "shader_manager_glsl.h"

#include <cstring>

int cSceneAttractor::s_tick_count = 0;
int cSceneAttractor::s_switch_interval = 16;

void cSceneAttractor::reset_shared_state() {
    s_tick_count = 0;
    s_switch_interval = 16;
}

namespace {
struct sPreset {
    float p[4];
    float randscale;
    float rot;
    float color0_alpha;
    float color1_alpha;
    float point_size0;
};

const sPreset k_presets[cSceneAttractor::ANIM_COUNT] = {
    {{2.75f, 0.806471f, 1.1f, 1.33f}, 0.33f, 314.0f, 0.0135216f, 0.0222356f, 1.7002f},
    {{1.0f, 1.8f, 0.71f, 1.49017f}, 0.33f, 155.875f, 0.02f, 0.0537861f, 1.7002f},
    {{1.0f, 1.8f, 1.04485f, 1.54f}, 0.6f, 109.0f, 0.0649038f, 0.0537861f, 1.90527f},
    {{1.0f, 0.284401f, 0.71f, 1.51f}, 0.33f, 213.0f, 0.02f, 0.0537861f, 1.7002f},
    {{1.77394f, 1.8f, 0.71f, 1.51f}, 0.33f, 0.0f, 0.0640024f, 0.0537861f, 1.30469f},
};

// Each preset lets one parameter creep upwards and wrap back, so the cloud
// keeps changing while the preset holds.
struct sDrift {
    int param;
    double rate; // per second
    float limit;
    float reset;
};

const sDrift k_drifts[cSceneAttractor::ANIM_COUNT] = {
    {1, 0.015, 0.9f, 0.7f},  {3, 0.006, 1.54f, 1.485f}, {2, 0.09, 1.85f, 0.6f},
    {1, 0.045, 1.9f, 0.25f}, {0, 0.03, 2.0f, 0.7f},
};

const sPreset& preset(int k) {
    if (k < 0 || k >= cSceneAttractor::ANIM_COUNT)
        VT_ASSERT_MSG(!"non-existing anim used", "cSceneAttractor");
    return k_presets[k];
}
} // namespace

cSceneAttractor::cSceneAttractor(const sTimeBlock* time_block) : cScene(time_block) {}

cSceneAttractor::~cSceneAttractor() = default;

void cSceneAttractor::load() {
    cResourcePath::instance()->push_searchpath("../data/models/vantrel_intro");
    m_background = cTextureManager::instance()->get_texture("ifs_back.jpg", false, GL_CLAMP);
    preset_step();
    m_points = iRoundPoints::create();
    // The logo meshes are drawn in one flat colour: no materials.
    m_arrow = load_scene_mesh("logo_arrow.bzobj", false);
    m_cubes = load_scene_mesh("logo_cubes.bzobj", false);
}

void cSceneAttractor::enter() {
    glClearColor(0.05f, 0.05f, 0.05f, 0.0f);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    cShaderManager_GLSL::instance()->unbind();

    sGlowSettings& glow = cPostGlow::instance()->m_settings;
    glow.threshold = 200.0f;
    glow.gain = 128.0f;
}

void cSceneAttractor::apply_preset(int k) {
    const sPreset& p = preset(k);
    for (int i = 0; i < 4; ++i)
        m_p[i] = p.p[i];
    m_randscale = p.randscale;
    m_rot = p.rot;
    m_color0 = Vec3f(0.57f, 0.35f, 1.0f);
    m_color1 = Vec3f(0.35f, 0.51f, 1.0f);
    m_color0_alpha = p.color0_alpha;
    m_color1_alpha = p.color1_alpha;
    m_point_size0 = p.point_size0;
    m_point_size1 = 1.65625f;
}

void cSceneAttractor::drift(float dt) {
    preset(m_anim); // stops the program on an unknown index
    const sDrift& d = k_drifts[m_anim];
    m_p[d.param] = float(double(m_p[d.param]) + d.rate * double(dt));
    if (m_p[d.param] > d.limit)
        m_p[d.param] = d.reset;
}

void cSceneAttractor::preset_step() {
    if (m_anim != m_applied_anim) {
        m_applied_anim = m_anim;
        apply_preset(m_anim);
    }
    drift(frame_seconds());
    for (int i = 0; i < 4; ++i) {
        m_calc_small.params()[i] = m_p[i];
        m_calc_large.params()[i] = m_p[i];
    }
    m_calc_small.ring().calculator().m_noise_amplitude = double(m_randscale) * 0.1;
    m_calc_large.ring().calculator().m_noise_amplitude = double(m_randscale) * 0.0001;
    m_calc_small.update();
    m_calc_large.update();
}

void cSceneAttractor::burst_levels(float* in_black, float* in_white) const {
    double x = double(timeline_ms() - m_anim_switch_ms) / double(m_burst_ms);
    x = x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x);
    *in_black = float((1.0 - x) * 40.0);
    *in_white = float(255.0 - (1.0 - x) * 155.0);
}

void cSceneAttractor::on_event(cEvent* event) {
    m_pulse = 1.0f;
    if (event->m_type != EV_MIDI_BEAT)
        return;
    const int n = ++s_tick_count;
    if (n > 40) {
        s_switch_interval = 8;
        m_burst_ms = 1500.0f;
    }
    if (n > 47) {
        s_switch_interval = 4;
        m_burst_ms = 1300.0f;
    }
    if (n > 55) {
        s_switch_interval = 1;
        m_burst_ms = 600.0f;
        m_pulse = 0.1f;
    }
    if (n % s_switch_interval == 0) {
        m_anim = (m_anim + 1) % ANIM_COUNT;
        m_anim_switch_ms = timeline_ms();
    }
}

void cSceneAttractor::update() {
    // The clouds move on here, not in draw: a frame that is not drawn (a
    // replay's step) moves them all the same.
    preset_step();
}

void cSceneAttractor::draw_background() {
    const double a = cDisplaySettings::instance()->render_aspect();
    const float angle = elapsed_seconds() * 30.0f;

    glDepthMask(GL_FALSE);
    glPushAttrib(GL_ENABLE_BIT);
    {
        cProfileScope scope("background");
        render_fsq(m_background);
    }

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4.0 * a, 4.0 * a, -4.0, 4.0, -100.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(-4.0, 0.0, 10.0, -4.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor3ub(41, 41, 41);
    cProfileScope meshes("meshes");
    glPushMatrix();
    glRotatef(angle, 0.0f, 1.0f, 0.0f);
    m_cubes->draw();
    glPopMatrix();
    glRotatef(angle, 0.0f, 0.0f, 1.0f);
    m_arrow->draw();
    glPopAttrib();
}

void cSceneAttractor::draw() {
    // The frame leaves the GL state and both matrices as it found them; the
    // state that enter set stays for the next frame.
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT | GL_POINT_BIT |
                 GL_COLOR_BUFFER_BIT);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();

    cRenderTargetManager* rtm = cRenderTargetManager::instance();
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    cRTProxy target_a = bind_cleared_scene_target(0.0f, 0.0f, 0.0f);
    shaders->unbind();

    sLevelsValues levels;
    burst_levels(&levels.in_black, &levels.in_white);

    draw_background();

    const double a = cDisplaySettings::instance()->render_aspect();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, a, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 2.0, 0.0, -0.5, 0.0, 0.0, 1.0, 0.0);

    glRotatef(elapsed_seconds() * 10.0f + m_rot, 0.0f, 1.0f, 0.0f);
    // The clouds add up. Set here as well as in enter: whatever is drawn
    // over the frame (the panel, the makers' text line) may change the
    // blending, and the pushed attributes put it back afterwards.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    // A software rasteriser draws the background on its own threads while
    // the clouds are added into their image on the CPU.
    glFlush();
    m_points->begin();
    glColor4f(m_color0.x, m_color0.y, m_color0.z, m_color0_alpha * m_pulse);
    m_points->set_size(m_point_size0);
    m_points->draw(m_calc_small);
    glColor4f(m_color1.x, m_color1.y, m_color1.z, m_color1_alpha);
    m_points->set_size(m_point_size1);
    m_points->draw(m_calc_large);
    m_points->end();

    target_a->unbind();
    cRTProxy target_b = rtm->get_rt(cRenderTargetManager::RTT_FULL);
    apply_levels_into(*target_b, *target_a, levels);
    glow_onto(cPostGlow::instance()->m_settings, *target_b, cRenderTargetManager::RTT_FULL);
    rtm->release(target_b);
    rtm->release(target_a);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
}

void cSceneAttractor::add_vars(cGuiVarList* list) {
    list->add_float("p0", &m_p[0], -3.0f, 3.0f);
    list->add_float("p1", &m_p[1], -3.0f, 3.0f);
    list->add_float("p2", &m_p[2], -3.0f, 3.0f);
    list->add_float("p3", &m_p[3], -3.0f, 3.0f);
    list->add_float("randscale", &m_randscale, 0.1f, 5.0f);
    list->add_vec3("color0", &m_color0, 0.0f, 1.0f);
    list->add_float("color0A", &m_color0_alpha, 0.0f, 0.2f);
    list->add_float("pts-size0", &m_point_size0, 0.25f, 10.0f);
    list->add_vec3("color1", &m_color1, 0.0f, 1.0f);
    list->add_float("color1A", &m_color1_alpha, 0.0f, 0.1f);
    list->add_float("pts-size1", &m_point_size1, 0.25f, 10.0f);
    list->add_int("anim", &m_anim, 0, 4);
    list->add_float("rot", &m_rot, 0.0f, 360.0f);
}

namespace {
struct sAttractorState : iSceneState {
    cCamera m_camera;
    cAttractorPointBuffer_GL::sState small;
    cAttractorPointBuffer_GL::sState large;
    float m_p[4];
    float m_randscale = 0.0f;
    Vec3f m_color0;
    Vec3f m_color1;
    float m_color0_alpha = 0.0f;
    float m_color1_alpha = 0.0f;
    float m_point_size0 = 0.0f;
    float m_point_size1 = 0.0f;
    int m_anim = 0;
    int m_applied_anim = 0;
    int m_anim_switch_ms = 0;
    float m_burst_ms = 0.0f;
    float m_rot = 0.0f;
    float m_pulse = 0.0f;
    int s_tick_count = 0;
    int s_switch_interval = 0;
    std::size_t bytes(std::unordered_set<const void*>*) const override {
        return sizeof(*this) +
               (small.ring.points.capacity() + large.ring.points.capacity()) * sizeof(float);
    }
};
} // namespace

template <class To, class From>
void cSceneAttractor::copy_state(To& to, const From& from) {
    to.m_camera = from.m_camera;
    std::memcpy(to.m_p, from.m_p, sizeof(to.m_p));
    to.m_randscale = from.m_randscale;
    to.m_color0 = from.m_color0;
    to.m_color1 = from.m_color1;
    to.m_color0_alpha = from.m_color0_alpha;
    to.m_color1_alpha = from.m_color1_alpha;
    to.m_point_size0 = from.m_point_size0;
    to.m_point_size1 = from.m_point_size1;
    to.m_anim = from.m_anim;
    to.m_applied_anim = from.m_applied_anim;
    to.m_anim_switch_ms = from.m_anim_switch_ms;
    to.m_burst_ms = from.m_burst_ms;
    to.m_rot = from.m_rot;
    to.m_pulse = from.m_pulse;
    to.s_tick_count = from.s_tick_count;
    to.s_switch_interval = from.s_switch_interval;
}

std::shared_ptr<const iSceneState> cSceneAttractor::save_state() const {
    auto state = std::make_shared<sAttractorState>();
    copy_state(*state, *this);
    state->small = m_calc_small.state();
    state->large = m_calc_large.state();
    return state;
}

void cSceneAttractor::restore_state(const iSceneState& state) {
    const auto& saved = static_cast<const sAttractorState&>(state);
    copy_state(*this, saved);
    m_calc_small.set_state(saved.small);
    m_calc_large.set_state(saved.large);
}
