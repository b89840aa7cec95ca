// The solar flare effect as the scenes use it: the flare population of
// cSolarFlares plus its meshes, textures, particle buffer and shader, loaded
// once and drawn every frame.
#pragma once

#include "effects/mesh_emitter_gl.h"
#include "effects/round_points.h"
#include "effects/solar_flares.h"
#include "texture_manager.h"

#include <memory>

class cGuiVarList;
class cMeshObj;
class iMesh;
struct sTimeBlock;

class cSolarFlares_GL {
public:
    cSolarFlares_GL();
    ~cSolarFlares_GL();
    cSolarFlares_GL(const cSolarFlares_GL&) = delete;
    cSolarFlares_GL& operator=(const cSolarFlares_GL&) = delete;

    // Loads "sun.bzobj" (kept in memory: the particles are born on its
    // triangles) and "sunflare.bzobj" from "../data/models/sunflare" and the
    // search paths, the four textures, and registers "flare_shader". Ends the
    // program when a mesh or texture is missing.
    void load();
    // Registers the tweak variables; after load.
    void add_vars(cGuiVarList* list) { m_system.add_vars(list); }
    // The flares and gases a scene shows (the system itself starts with none
    // of either): that many flares, and gases of the colour that stream off
    // the sun and die after about two seconds, so that the emitter keeps
    // renewing them. After load.
    void set_flares_and_gases(float flares, const Vec3f& gas_colour);
    // Resets the lifetime and spreads the flares' births over one lifetime.
    void start(int start_ms) { m_system.start(start_ms); }
    // Renews the flares and moves the particles.
    void update(const sTimeBlock& time);
    // Sun, particles and flares at elapsed demo time in ms, under the
    // caller's camera and transform. Moves the current matrix by the
    // system's last shake; leaves the bound shader, the enables, the texture units
    // (unit 0 active) and the matrix stacks as it found them, and ends with
    // depth writes on and blending set to source alpha and one minus source
    // alpha.
    void draw(int elapsed_ms);

    cSolarFlares& system() { return m_system; }
    cMeshEmitter* emitter() { return m_system.emitter(); }
    const cMeshEmitter_GL* particles() const { return m_particles.get(); }

private:
    void draw_particles();
    void draw_flares(int elapsed_ms);

    cSolarFlares m_system;
    std::unique_ptr<cMeshObj> m_sun;
    std::unique_ptr<cMeshObj> m_flare;
    std::unique_ptr<cMeshEmitter_GL> m_particles;
    std::unique_ptr<iRoundPoints> m_points;
    cTexProxy m_sunTex;
    cTexProxy m_flareTex0;
    cTexProxy m_flareTex1;
    cTexProxy m_tex3; // fetched with the others, not drawn
};
