#include "scenes/scene_sprutte.h"

#include "gl_entry.h"
#include "gui/camera_vars.h"
#include "gui/gui_var_list.h"
#include "math/clamp01.h"
#include "mesh_files/mesh_obj.h"
#include "midi_event.h"
#include "post_color_correction.h"
#include "post_glow.h"
#include "profile_scope.h"
#include "render_target_manager.h"
#include "resource_path.h"
#include "scenes/scene_loading.h"
#include "scenes/scene_target.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_notex.h"
#include "shaders/shd_xray.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

int cSceneSprutte::s_note_count = 0;
bool cSceneSprutte::s_drawn = false;
float cSceneSprutte::s_first_draw_seconds = 0.0f;

void cSceneSprutte::reset_shared_state() {
    s_note_count = 0;
    s_drawn = false;
    s_first_draw_seconds = 0.0f;
}

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kPathMs = 1500; // every camera flight lasts this long

// Moves z back by period while it lies beyond limit, so that the objects
// come round again.
double wrap_depth(double z, double limit, double period) {
    while (z > limit)
        z -= period;
    return z;
}
} // namespace

cSceneSprutte::cSceneSprutte(const sTimeBlock* time_block) : cScene(time_block) {
    for (int i = 0; i < kSprutteJoints; ++i) {
        sprutte_identity(m_joint_rot[i]);
        sprutte_identity(m_joint_frame[i]);
        sprutte_identity(m_joint_next[i]);
    }
}

cSceneSprutte::~cSceneSprutte() = default;

void cSceneSprutte::load() {
    m_intro_scale = true;
    cResourcePath::instance()->push_searchpath("../data/models/sprutte");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->add_shader<cShdXray>("xray_shader");
    shaders->add_shader<cShdNotex>("notex_shader");

    m_ball_glow = load_scene_mesh("sprutte_ball_glow.bzobj", true);
    m_arm_joint = load_scene_mesh("sprutte_arm_joint.bzobj", true);
    m_hair = load_scene_mesh("sprutte_hair.bzobj", true);
    m_arm_morph_in = load_scene_mesh("sprutte_arm_joint_morph_in.bzobj", true);
    m_arm_morph_out = load_scene_mesh("sprutte_arm_joint_morph_out.bzobj", true);
    m_cage = load_scene_mesh("sprutte_cage2.bzobj", true);
    // Rings and debris take the light's colour, not their materials'.
    m_ring = load_scene_mesh("sprutte_ring.bzobj", false);
    m_debris = load_scene_mesh("sprutte_vrag.bzobj", false);

    m_correction = std::make_unique<cPostColorCorrection>("sprutte_color_correction_coldblue.png");

    for (int k = 0; k < kPaths; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "path%02d.pth", k + 1);
        load_scene_path(m_paths[k], name, "cSceneSprutte::load");
    }
}

void cSceneSprutte::enter() {
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glEnable(GL_DEPTH_TEST);

    m_camera = cCamera();
    m_camera.m_near = 1.0f;
    m_camera.m_far = 10000.0f;
    m_camera.m_eye = Vec3f(150.0f, 125.0f, 125.0f);

    m_levels.gamma = 1.3f;
    m_propagation = 2000.0f;
    m_angle = float(kPi / 4.0);
    m_last_step_ms = timeline_ms();
    m_col1 = Vec3f(0.33f, 0.37f, 0.6f);
    m_col2 = Vec3f(1.0f, 0.8f, 0.09f);
    m_beat_a_ms = -10000;
    m_beat_b_ms = -10000;
    m_beat_decay = 250.0f;
    for (int i = 0; i < kSprutteJoints; ++i)
        sprutte_identity(m_joint_rot[i]);

    sGlowSettings& glow = cPostGlow::instance()->m_settings;
    glow.threshold = 200.0f;
    glow.gain = 128.0f;
}

void cSceneSprutte::on_event(cEvent* event) {
    const cMETrigger* note = as_note_on(event);
    if (!note || note->m_track != 1)
        return;

    const int n = ++s_note_count;
    if (n < kFirstActiveNote)
        return;
    m_intro_scale = false;
    m_propagation = 800.0f;
    if (n % 2 == 0)
        m_beat_b_ms = timeline_ms();
    else
        m_beat_a_ms = timeline_ms();
    if (n % 4 != 0) {
        m_path_index = (m_path_index + 1) % kPaths;
        m_path_start_ms = timeline_ms();
    }
}

void cSceneSprutte::add_vars(cGuiVarList* list) {
    list->add_float("angle", &m_angle, float(-kPi), float(kPi));
    list->add_float("propagation", &m_propagation, 100.0f, 2000.0f);
    add_camera_vars(&m_camera, list, -1000.0f, 1000.0f);
    list->add_vec3("col1", &m_col1, 0.0f, 1.0f);
    list->add_vec3("col2", &m_col2, 0.0f, 1.0f);
    list->add_float("beatdec", &m_beat_decay, 0.0f, 1000.0f);
    add_cut_vars(&cPostGlow::instance()->m_settings, list);
    add_levels_vars(list, &m_levels);
}

void cSceneSprutte::set_light_colour(float r, float g, float b) {
    const float colour[4] = {r, g, b, 1.0f};
    glLightfv(m_light, GL_DIFFUSE, colour);
    glLightfv(m_light, GL_SPECULAR, colour);
}

void cSceneSprutte::update() {
    // The fade-in runs from the first frame of this scene in the process.
    const float seconds = elapsed_seconds();
    if (!s_drawn) {
        s_drawn = true;
        s_first_draw_seconds = seconds;
    }
    // The arms' bends travel on here, not in draw: a frame that is not drawn
    // (a replay's step) moves them all the same.
    m_angle = float(kPi / 8.0 * seconds + kPi * std::sin(2.0 * seconds));
    const int now = timeline_ms();
    sprutte_joint_step(m_joint_rot, m_joint_next, m_joint_pos, m_joint_frame, m_angle,
                       m_propagation, now, m_last_step_ms);
    m_last_step_ms = now;
}

void cSceneSprutte::draw() {
    const float seconds = elapsed_seconds();
    const int now = timeline_ms();
    const float u = float((double(seconds) - s_first_draw_seconds) / 15.0);
    m_levels.out_white = float(255.0 * clamp01(u));

    // The frame's shaders, lighting and light are handed back as it found
    // them, so that the next scene does not start from the cage's shader.
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT);
    cRenderTargetManager* rtm = cRenderTargetManager::instance();
    cRTProxy a = bind_cleared_scene_target(0.1f, 0.1f, 0.1f);
    shaders->unbind();

    const float t = float((now - m_path_start_ms) / double(kPathMs));
    m_camera.apply_on_path(m_paths[m_path_index], t);

    // Not clamped: the creature keeps growing until the drums take over.
    if (m_intro_scale)
        glScalef(0.95f * u, 0.95f * u, 0.95f * u);

    glEnable(GL_LIGHTING);
    glLightfv(m_light, GL_DIFFUSE, m_light_color);
    glLightfv(m_light, GL_SPECULAR, m_light_color);
    glLightfv(m_light, GL_POSITION, m_light_pos);
    glEnable(m_light);

    {
        cProfileScope meshes("meshes"); // rings, debris, cage and creature
        draw_rings_and_debris(seconds);
        glFlush(); // handed over at once, as each arm below

        set_light_colour(1.0f, 1.0f, 1.0f);
        glPushMatrix();
        glScalef(0.7f, 0.7f, 0.7f);
        shaders->bind("notex_shader");
        m_cage->draw();
        glPopMatrix();
        glFlush();

        glPushMatrix();
        draw_creature();
        glPopMatrix();
    }
    a->unbind();

    cRTProxy b = rtm->get_rt(cRenderTargetManager::RTT_FULL);
    m_correction->apply_into(*a, *b);
    glow_final(cPostGlow::instance()->m_settings, *b, cRenderTargetManager::RTT_QUATER, nullptr,
               m_levels);
    glPopAttrib();
    shaders->pop_shader();
    // b and a go back to the pool here, in that order.
}

void cSceneSprutte::draw_rings_and_debris(float seconds) {
    const int now = timeline_ms();
    // The pulses are not clamped: long after a note they go negative and
    // the lit objects turn dark.
    const double ring_pulse = 0.5 + 0.5 * (1.0 - (now - m_beat_a_ms) / double(m_beat_decay));
    const double debris_pulse = 0.5 + 0.5 * (1.0 - (now - m_beat_b_ms) / double(m_beat_decay));

    set_light_colour(float(m_col1.x * ring_pulse), float(m_col1.y * ring_pulse),
                     float(m_col1.z * ring_pulse));
    for (int k = 0; k < 5; ++k) {
        const double z = wrap_depth(seconds * 7500.0 - k * 10000.0, 10000.0, 25000.0);
        glPushMatrix();
        glTranslatef(0.0f, 0.0f, float(z));
        m_ring->draw();
        glPopMatrix();
    }

    set_light_colour(float(m_col2.x * debris_pulse), float(m_col2.y * debris_pulse),
                     float(m_col2.z * debris_pulse));
    for (int k = 0; k < 3; ++k) {
        const double z = wrap_depth(seconds * 5000.0 - k * 15000.0, 15000.0, 30000.0);
        glPushMatrix();
        glTranslatef(0.0f, 0.0f, float(z));
        m_debris->draw();
        glPopMatrix();
    }
}

void cSceneSprutte::draw_creature() {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    cShaderParameter<float> inside_out(1.0f);
    shaders->set_parameter("xray_shader", cShdXray::SP_INV, &inside_out);
    shaders->bind("xray_shader");

    for (const sSprutteArm& arm : kSprutteArmPlacements) {
        glPushMatrix();
        glRotatef(arm.angle_deg, arm.axis.x, arm.axis.y, arm.axis.z);
        if (arm.mirrored) {
            // The mirror turns the arm's triangles round.
            glScalef(-1.0f, -1.0f, -1.0f);
            glFrontFace(GL_CW);
        }
        draw_arm();
        glFrontFace(GL_CCW);
        glPopMatrix();
        // Each arm is handed to the driver at once: a software rasteriser
        // fills it in while the next one's triangles are set up, instead of
        // starting after the last. The order, and so the picture, stays.
        glFlush();
    }

    m_hair->draw();

    cShaderParameter<float> plain(0.0f);
    shaders->set_parameter("xray_shader", cShdXray::SP_INV, &plain);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPushMatrix();
    glScalef(1.5f, 1.5f, 1.5f);
    m_ball_glow->draw();
    glPopMatrix();
    glDisable(GL_BLEND);
    shaders->pop_shader();
}

void cSceneSprutte::draw_arm() {
    for (int j = 0; j + 1 < kSprutteJoints; ++j) {
        const float taper = float(1.0 - j / double(kSprutteJoints));
        glPushMatrix();
        glTranslatef(m_joint_pos[j][0], m_joint_pos[j][1], m_joint_pos[j][2]);
        glMultMatrixf(m_joint_frame[j]);
        glScalef(taper, 1.0f, taper);
        m_arm_joint->draw_copies(6, [](int) { glRotatef(60.0f, 0.0f, 1.0f, 0.0f); });
        glPopMatrix();
    }
}

namespace {
struct sSprutteState : iSceneState {
    cCamera m_camera;
    sLevelsValues m_levels;
    float m_propagation = 0.0f;
    tSprutteMatrix m_joint_rot[kSprutteJoints];
    tSprutteMatrix m_joint_frame[kSprutteJoints];
    float m_joint_pos[kSprutteJoints][4];
    tSprutteMatrix m_joint_next[kSprutteJoints];
    float m_angle = 0.0f;
    int m_last_step_ms = 0;
    float m_light_pos[4];
    float m_light_color[4];
    Vec3f m_col1;
    Vec3f m_col2;
    int m_beat_a_ms = 0;
    int m_beat_b_ms = 0;
    float m_beat_decay = 0.0f;
    int m_path_index = 0;
    int m_path_start_ms = 0;
    bool m_intro_scale = false;
    int s_note_count = 0;
    bool s_drawn = false;
    float s_first_draw_seconds = 0.0f;
    std::size_t bytes(std::unordered_set<const void*>*) const override { return sizeof(*this); }
};
} // namespace

template <class To, class From>
void cSceneSprutte::copy_state(To& to, const From& from) {
    to.m_camera = from.m_camera;
    to.m_levels = from.m_levels;
    to.m_propagation = from.m_propagation;
    std::memcpy(to.m_joint_rot, from.m_joint_rot, sizeof(to.m_joint_rot));
    std::memcpy(to.m_joint_frame, from.m_joint_frame, sizeof(to.m_joint_frame));
    std::memcpy(to.m_joint_pos, from.m_joint_pos, sizeof(to.m_joint_pos));
    std::memcpy(to.m_joint_next, from.m_joint_next, sizeof(to.m_joint_next));
    to.m_angle = from.m_angle;
    to.m_last_step_ms = from.m_last_step_ms;
    std::memcpy(to.m_light_pos, from.m_light_pos, sizeof(to.m_light_pos));
    std::memcpy(to.m_light_color, from.m_light_color, sizeof(to.m_light_color));
    to.m_col1 = from.m_col1;
    to.m_col2 = from.m_col2;
    to.m_beat_a_ms = from.m_beat_a_ms;
    to.m_beat_b_ms = from.m_beat_b_ms;
    to.m_beat_decay = from.m_beat_decay;
    to.m_path_index = from.m_path_index;
    to.m_path_start_ms = from.m_path_start_ms;
    to.m_intro_scale = from.m_intro_scale;
    to.s_note_count = from.s_note_count;
    to.s_drawn = from.s_drawn;
    to.s_first_draw_seconds = from.s_first_draw_seconds;
}

std::shared_ptr<const iSceneState> cSceneSprutte::save_state() const {
    auto state = std::make_shared<sSprutteState>();
    copy_state(*state, *this);
    return state;
}

void cSceneSprutte::restore_state(const iSceneState& state) {
    copy_state(*this, static_cast<const sSprutteState&>(state));
}
