#include "scenes/scene_scrub.h"

#include "effects/scrub.h"
#include "event.h"
#include "gl_entry.h"
#include "gui/gui_var_list.h"
#include "math/clamp01.h"
#include "math/random.h"
#include "math/smoothstep.h"
#include "midi_event.h"
#include "post_glow.h"
#include "render_fsq.h"
#include "render_target_manager.h"
#include "resource_path.h"
#include "scene_manager.h"
#include "scenes/scene_target.h"
#include "shader_manager_glsl.h"

#include <algorithm>
#include <cmath>

float cSceneScrub::s_z = 10.0f;
int cSceneScrub::s_first_update_ms = 0;
bool cSceneScrub::s_first_update_taken = false;

namespace {
// A logo over the current unit square; rectangle textures are addressed in
// pixels, the others from 0 to 1.
void draw_logo(const cTexProxy& logo) {
    const bool rect = logo.get_textarget() == GL_TEXTURE_RECTANGLE_ARB;
    logo.enable();
    logo.bind();
    draw_quad(rect ? float(logo.get_width()) : 1.0f, rect ? float(logo.get_height()) : 1.0f);
    logo.unbind();
    logo.disable();
}
} // namespace

cSceneScrub::cSceneScrub(const sTimeBlock* time_block)
    : cScene(time_block), m_scrub(std::make_unique<cScrubSpline>()) {}

cSceneScrub::~cSceneScrub() = default;

void cSceneScrub::load() {
    cResourcePath::instance()->push_searchpath("../data/models/scrub");
    cTextureManager* textures = cTextureManager::instance();
    m_logo_top = textures->get_texture("vrklogo_top.png", false, GL_CLAMP_TO_EDGE);
    m_logo_bottom = textures->get_texture("vrklogo_bottom.png", false, GL_CLAMP_TO_EDGE);

    m_clear_color = Vec3f(1.0f, 0.84f, 0.0f);
    m_diffuse = Vec3f(0.0f, 0.0f, 0.0f);
    m_speed = 5.0f;
    m_rot_speed = 30.0f;
    m_scrub->m_density = 2.85f;
    m_scrub->m_radialDepth = 1.0f;
    m_radius_range = Vec3f(0.5f, 0.7f, 2.0f);
    m_last_radius_z = -1e9f;
    m_fog_density = 0.2f;
    m_last_beat_ms = -10000;
    m_beat_length = 400.0f;
    m_flash_strength = 1.0f;
    m_use_spline = 0.0f;

    // Pre-grow the start of the tunnel while the load screen shows.
    m_scrub->m_useSpline = m_use_spline > 0.0f;
    m_scrub->update(10.0f, 24.0f);
    m_scrub->update(10.0f, 24.0f);
}

void cSceneScrub::enter() {
    // The whole growth repeats exactly from here on.
    vt_srand(1335);
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    reset_scene_gl_state();

    m_split_fac = 10.0f;
    m_split_sub = 7.39f;
    m_rdist = 0.0f;
    m_rdist2 = 0.0f;

    sGlowSettings& glow = cPostGlow::instance()->m_settings;
    glow.threshold = 200.0f;
    glow.gain = 128.0f;
}

void cSceneScrub::leave() {
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_FOG);
    glDisable(GL_LIGHT0);
}

void cSceneScrub::on_event(cEvent* event) {
    const cMETrigger* note = as_note_on(event);
    if (note && note->m_track == kDrumTrack)
        m_last_beat_ms = timeline_ms();
}

void cSceneScrub::apply_course(float p) {
    m_scrub->m_density = 4.3f;
    if (p < 0.4f) {
        // Speeding up while the tunnel widens.
        const double s = smoothstep(2.0f * p);
        m_scrub->m_radialDepth = 1.0f;
        m_speed = float(5.0 + 5.0 * s);
        m_radius_range.x = m_radius_range.y = float(0.5 + 2.5 * s);
        m_radius_range.z = float(2.0 * s);
    } else {
        // Slowing down while the branches close in on the axis.
        const double s = smoothstep(2.0f * (p - 0.5f));
        m_scrub->m_radialDepth = float(1.0 + 4.0 * s);
        m_speed = float(10.0 - 7.0 * s);
        m_radius_range.x = m_radius_range.y = float(3.0 - 2.9 * s);
        m_radius_range.z = float(2.0 - 1.8 * s);
    }
}

void cSceneScrub::update() {
    const int now = timeline_ms();
    if (!s_first_update_taken) {
        s_first_update_ms = now;
        s_first_update_taken = true;
    }
    int t5 = -1;
    if (const cEventQueue* queue = cSceneManager::instance()->m_eventqueue)
        t5 = queue->find_next(kNextScene).m_time;
    // A switch at the very first update would divide zero by zero; the
    // course then stays at its start.
    const int span = t5 - s_first_update_ms;
    const float p = span ? float(double(now - s_first_update_ms) / span) : 0.0f;
    apply_course(p);

    const double b = clamp01((now - m_last_beat_ms) / double(m_beat_length));
    m_flash = float((1.0 - b) * m_flash_strength);
    m_clear_blue =
        float((1.0 - m_flash_strength) * m_clear_color.z + 0.95 * m_flash * m_flash_strength);
    m_flash_smooth = smoothstep(m_flash);
    m_fog = float(m_fog_density + 0.2 * m_flash_smooth);

    // The camera travels and the tunnel grows ahead of it here, not in draw:
    // a frame that is not drawn (a replay's step) grows it all the same.
    s_z = float(s_z + double(m_speed) * frame_seconds());
    const float z = s_z;
    if (z > m_radius_range.z + m_last_radius_z) {
        m_last_radius_z = z;
        m_scrub->m_radius = float(m_radius_range.x +
                                  std::fabs(m_radius_range.y - m_radius_range.x) * vt_rand_unit());
    }
    m_scrub->m_useSpline = m_use_spline > 0.0f;
    // Drawing uploads the blocks it has not seen: every block has its
    // buffer pair to itself, so blocks released undrawn need no upload.
    m_scrub->update(z, z + 14.0f);
}

void cSceneScrub::add_vars(cGuiVarList* list) {
    list->add_vec3("clearcolor-r", &m_clear_color, 0.0f, 1.0f);
    list->add_vec3("diff-col", &m_diffuse, 0.0f, 1.0f);
    list->add_float("speed", &m_speed, -6.0f, 30.0f);
    list->add_float("rotspeed", &m_rot_speed, -90.0f, 90.0f);
    list->add_float("density", &m_scrub->m_density, 2.0f, 20.0f);
    list->add_vec3("radius(min,max,dist)", &m_radius_range, 0.1f, 4.0f);
    list->add_float("radialDepth", &m_scrub->m_radialDepth, 0.5f, 15.0f);
    list->add_float("minNborNodeDist", &m_scrub->m_minNborNodeDist, 0.0f, 0.6f);
    list->add_float("numNbors", &m_scrub->m_numNbors, 2.0f, 10.0f);
    list->add_float("cylinderRadius", &m_scrub->m_cylinderRadius, 0.01f, 0.1f);
    list->add_float("useSpline", &m_use_spline, -1.0f, 1.0f);
    list->add_float("fog density", &m_fog_density, 0.0f, 1.0f);
    list->add_float("beat length", &m_beat_length, 10.0f, 1000.0f);
    list->add_float("splitfac", &m_split_fac, 0.0f, 10.0f);
    list->add_float("splitsub", &m_split_sub, 0.0f, 10.0f);
    list->add_float("rdist", &m_rdist, 0.0f, 10.0f);
    list->add_float("rdist2", &m_rdist2, 0.0f, 50.0f);
}

void cSceneScrub::reset_travel() {
    s_z = 10.0f;
    s_first_update_ms = 0;
    s_first_update_taken = false;
}

void cSceneScrub::draw() {
    // Fog, lighting, blending and both matrices change below; the frame
    // hands them back as it found them.
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT |
                 GL_FOG_BIT | GL_LIGHTING_BIT | GL_HINT_BIT | GL_TRANSFORM_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();

    // The branches are drawn by the fixed pipeline, fog included, whatever
    // shader the scene before left bound; that one is bound again at the end.
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    shaders->unbind();

    cRenderTargetManager* rtm = cRenderTargetManager::instance();
    cRTProxy a = bind_cleared_scene_target(m_clear_color.x, m_clear_color.y, m_clear_blue);

    const float z = s_z;

    const GLfloat fog_color[4] = {m_clear_color.x, m_clear_color.y, m_clear_blue, 1.0f};
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogfv(GL_FOG_COLOR, fog_color);
    glFogf(GL_FOG_DENSITY, m_fog);
    glHint(GL_FOG_HINT, GL_DONT_CARE);

    glEnable(GL_LIGHTING);
    const GLfloat specular[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat diffuse[4] = {m_diffuse.x, m_diffuse.y, m_diffuse.z, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 50.0f);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 1.3333334f, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(10.0f + m_rdist, 9.9f, z + 1.0f, 10.0f, 10.0f, z + 2.0f + m_rdist2, 0.0f, 1.0f, 0.0f);
    // The light's direction is fixed in the world: it is placed under the
    // view of the camera, as the frame before left the model-view matrix.
    const GLfloat light_pos[4] = {1.0f, 1.0f, -1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light_pos);
    glEnable(GL_LIGHT0);

    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);

    glPushMatrix();
    glTranslatef(10.0f, 10.0f, 0.0f);
    glRotatef(elapsed_seconds() * m_rot_speed, 0.0f, 0.0f, 1.0f);
    glTranslatef(-10.0f, -10.0f, 0.0f);
    m_scrub_gl.draw(m_scrub->batcher());
    glPopMatrix();

    a->unbind();
    glow_onto(cPostGlow::instance()->m_settings, *a, cRenderTargetManager::RTT_FULL);

    draw_logos();
    rtm->release(a);
    shaders->pop_shader();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void cSceneScrub::draw_logos() {
    cShaderManager_GLSL::instance()->unbind();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    GLboolean depth_mask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_mask);
    glDepthMask(GL_FALSE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    // The bottom band over the lower 40 %, the top band over the upper 20 %.
    glPushMatrix();
    glScalef(1.0f, 0.4f, 1.0f);
    draw_logo(m_logo_bottom);
    glPopMatrix();
    glPushMatrix();
    glTranslatef(0.0f, 0.8f, 0.0f);
    glScalef(1.0f, 0.2f, 1.0f);
    draw_logo(m_logo_top);
    glPopMatrix();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDepthMask(depth_mask);
    glPopAttrib();
}

namespace {
struct sScrubState : iSceneState {
    cCamera m_camera;
    Vec3f m_clear_color;
    Vec3f m_diffuse;
    float m_speed = 0.0f;
    float m_rot_speed = 0.0f;
    Vec3f m_radius_range;
    float m_last_radius_z = 0.0f;
    float m_fog_density = 0.0f;
    float m_clear_blue = 0.0f;
    float m_flash_smooth = 0.0f;
    float m_fog = 0.0f;
    int m_last_beat_ms = 0;
    float m_beat_length = 0.0f;
    float m_flash = 0.0f;
    float m_flash_strength = 0.0f;
    float m_use_spline = 0.0f;
    float m_split_fac = 0.0f;
    float m_split_sub = 0.0f;
    float m_rdist = 0.0f;
    float m_rdist2 = 0.0f;
    float s_z = 0.0f;
    int s_first_update_ms = 0;
    bool s_first_update_taken = false;
    cScrubSpline scrub;
    std::size_t bytes(std::unordered_set<const void*>* counted) const override {
        return sizeof(*this) + scrub.state_bytes(counted);
    }
};
} // namespace

template <class To, class From>
void cSceneScrub::copy_state(To& to, const From& from) {
    to.m_camera = from.m_camera;
    to.m_clear_color = from.m_clear_color;
    to.m_diffuse = from.m_diffuse;
    to.m_speed = from.m_speed;
    to.m_rot_speed = from.m_rot_speed;
    to.m_radius_range = from.m_radius_range;
    to.m_last_radius_z = from.m_last_radius_z;
    to.m_fog_density = from.m_fog_density;
    to.m_clear_blue = from.m_clear_blue;
    to.m_flash_smooth = from.m_flash_smooth;
    to.m_fog = from.m_fog;
    to.m_last_beat_ms = from.m_last_beat_ms;
    to.m_beat_length = from.m_beat_length;
    to.m_flash = from.m_flash;
    to.m_flash_strength = from.m_flash_strength;
    to.m_use_spline = from.m_use_spline;
    to.m_split_fac = from.m_split_fac;
    to.m_split_sub = from.m_split_sub;
    to.m_rdist = from.m_rdist;
    to.m_rdist2 = from.m_rdist2;
    to.s_z = from.s_z;
    to.s_first_update_ms = from.s_first_update_ms;
    to.s_first_update_taken = from.s_first_update_taken;
}

std::shared_ptr<const iSceneState> cSceneScrub::save_state() const {
    auto state = std::make_shared<sScrubState>();
    copy_state(*state, *this);
    state->scrub.copy_state_from(*m_scrub);
    return state;
}

void cSceneScrub::restore_state(const iSceneState& state) {
    const auto& saved = static_cast<const sScrubState&>(state);
    copy_state(*this, saved);
    m_scrub->copy_state_from(saved.scrub);
    // What the GL buffers hold now is another state's: every block goes up
    // again at the next draw.
    for (cScrubMultiVBO::sRenderBlock& block : m_scrub->batcher().blocks())
        block.uploaded = false;
}
