// The flare population of the solar flare effect: flares in random
// orientations that swell and fade over a fixed lifetime and are reborn in new
// orientations, plus the particle emitter on the sun and the parameters the
// drawing side uses. Times are integer milliseconds.
#pragma once

#include "effects/mesh_emitter.h"
#include "math/vec3.h"

#include <memory>
#include <vector>

class cGuiVarList;
struct sTimeBlock;

struct sFlare {
    int birth;        // demo time in ms
    float matrix[16]; // orientation, GL (column-major) order
};

// What one flare is drawn with.
struct sFlareLook {
    float brightness;   // alpha of the flare colour, 0..1
    float shader_param; // the age mapped to -1..1 (unclamped)
};

class cSolarFlares {
public:
    cSolarFlares() = default;

    // Creates the particle emitter on the sun's arrays, which must outlive it.
    void create_emitter(const sMeshArrays& sun);
    // Registers the tweak variables; the emitter must exist.
    void add_vars(cGuiVarList* list);
    // Resets the lifetime, creates the wanted number of flares and spreads
    // their births over one lifetime before start_ms.
    void start(int start_ms);
    // Replaces or removes dead flares, tops the population up and moves the
    // particles by the frame time.
    void update(const sTimeBlock& time);

    // The small random shake of the whole effect (three draws from the
    // shared generator).
    Vec3f draw_jitter() const;
    // Draws the frame's shake and keeps it for drawing: once per frame, in
    // the frame's update, so that a frame that is not drawn draws the same
    // numbers.
    void shake() { m_jitter = draw_jitter(); }
    const Vec3f& jitter() const { return m_jitter; }
    // Brightness and shader parameter of a flare at elapsed ms.
    sFlareLook look(const sFlare& flare, int elapsed_ms) const;
    static sFlareLook look_at_age(double age);

    // A flare born at birth_ms in a random orientation (four draws).
    static sFlare new_flare(int birth_ms);

    // Takes over everything that start, update and the shake move (flares,
    // particles, parameters) from other; a copy without an emitter gets one
    // on the other's mesh.
    void copy_state_from(const cSolarFlares& other);
    // Memory of the flares and particles, in bytes.
    std::size_t state_bytes() const;

    const std::vector<sFlare>& flares() const { return m_flares; }
    cMeshEmitter* emitter() { return m_emitter.get(); }

    float m_decay = 3500.0f; // lifetime of one flare in ms
    Vec3f m_partColour{0.0f, 0.0f, 0.0f};
    float m_partAlpha = 0.0f;
    float m_partSize = 0.0f;
    float m_numFlares = 0.0f; // wanted count; compared as a float, so 2.5 keeps 3

private:
    std::unique_ptr<cMeshEmitter> m_emitter;
    std::vector<sFlare> m_flares;
    Vec3f m_jitter{0.0f, 0.0f, 0.0f};
};
