#include "effects/solar_flares_gl.h"

#include "debug.h"
#include "gl_entry.h"
#include "mesh_files/bzobj_loader.h"
#include "mesh_files/mesh_obj.h"
#include "profile_scope.h"
#include "resource_path.h"
#include "scene.h"
#include "shader.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_flare.h"

namespace {
// The gases' particles as the scenes show them.
constexpr float kGasSize = 2.0f;
constexpr float kGasAlpha = 0.05f;
constexpr float kGasLifeExponent = 3.0f; // falloff of the remaining lifetime
} // namespace

cSolarFlares_GL::cSolarFlares_GL() = default;
cSolarFlares_GL::~cSolarFlares_GL() = default;

void cSolarFlares_GL::load() {
    cResourcePath::instance()->push_searchpath("../data/models/sunflare");

    m_sun = BzObjLoader::create_without_materials("sun.bzobj");
    // The copy stays: the emitter samples the sun's triangles every update.
    m_sun->upload(false);
    m_system.create_emitter(sMeshArrays{&m_sun->m_pos, &m_sun->m_indices});
    m_particles = std::make_unique<cMeshEmitter_GL>(*m_system.emitter());
    m_points = iRoundPoints::create();

    m_flare = BzObjLoader::create_without_materials("sunflare.bzobj");
    m_flare->upload(true);

    cTextureManager* textures = cTextureManager::instance();
    m_sunTex = textures->get_texture("sun_diffuse.jpg", true, GL_CLAMP);
    m_flareTex0 = textures->get_texture("sun_flare_gasses_fade2.png", true, GL_CLAMP_TO_EDGE);
    m_flareTex1 = textures->get_texture("sun_flare_gradient.png", true, GL_CLAMP_TO_EDGE);
    m_tex3 = textures->get_texture("sun_particle_ambientgasses.png", true, GL_CLAMP);

    // The second flare system of the show finds it registered already.
    cShaderManager_GLSL::instance()->add_shader<cShdFlare>("flare_shader");
}

void cSolarFlares_GL::set_flares_and_gases(float flares, const Vec3f& gas_colour) {
    m_system.m_numFlares = flares;
    m_system.m_partSize = kGasSize;
    m_system.m_partAlpha = kGasAlpha;
    m_system.m_partColour = gas_colour;
    if (cMeshEmitter* emitter = m_system.emitter())
        emitter->m_life.z = kGasLifeExponent;
}

void cSolarFlares_GL::update(const sTimeBlock& time) {
    m_system.update(time);
}

void cSolarFlares_GL::draw(int elapsed_ms) {
    cProfileScope scope("flares");
    VT_ASSERT_MSG(m_sun && m_flare && m_particles && m_points, "cSolarFlares_GL::draw: load first");
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    // The whole effect runs between a push and a pop of the shader stack, so
    // the caller's shader is bound again afterwards.
    shaders->push_shader();

    const Vec3f& jitter = m_system.jitter();
    glTranslatef(jitter.x, jitter.y, jitter.z);

    shaders->unbind();
    m_sunTex.enable();
    m_sunTex.bind();
    m_sun->draw();
    m_sunTex.unbind();
    m_sunTex.disable();

    draw_particles();
    draw_flares(elapsed_ms);

    shaders->pop_shader();
}

void cSolarFlares_GL::draw_particles() {
    // GL refuses point sizes of 0 and below (and would keep the previous
    // size); such particles are invisible, so they are not drawn at all.
    if (!(m_system.m_partSize > 0.0f))
        return;
    cProfileScope scope("particles");
    // Added, tested against the sun's depth and writing none, so that the
    // picture does not depend on the particles' order.
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    m_points->begin();
    m_points->set_size(m_system.m_partSize);
    const Vec3f& c = m_system.m_partColour;
    glColor4f(c.x, c.y, c.z, m_system.m_partAlpha);
    m_points->draw(*m_particles);
    m_points->end();
    glPopAttrib();
}

void cSolarFlares_GL::draw_flares(int elapsed_ms) {
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->bind("flare_shader");
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthMask(GL_FALSE);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    m_flareTex0.enable();
    m_flareTex0.bind();
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    m_flareTex1.enable();
    m_flareTex1.bind();

    for (const sFlare& flare : m_system.flares()) {
        const sFlareLook look = m_system.look(flare, elapsed_ms);
        cShaderParameter<float> uvshift(look.shader_param);
        shaders->set_parameter("flare_shader", cShdFlare::SP_UVSHIFT, &uvshift);
        glColor4f(1.0f, 1.0f, 1.0f, look.brightness);
        glPushMatrix();
        glMultMatrixf(flare.matrix);
        m_flare->draw();
        glPopMatrix();
    }

    m_flareTex1.unbind();
    m_flareTex1.disable();
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    m_flareTex0.unbind();
    m_flareTex0.disable();
    // Nothing here touched the texture matrix: only the model-view matrix
    // is selected again.
    glMatrixMode(GL_MODELVIEW);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_TRUE);
    glPopAttrib();
}
