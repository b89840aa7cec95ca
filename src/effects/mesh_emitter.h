// Particles born on the surface of a mesh. Each moves along the normal of the
// triangle it was born on and dies by a randomised age test. The emitter keeps
// the positions of the live particles in a dense array for the drawing side,
// which uploads it and draws particle_count() points.
#pragma once

#include "effects/mesh_loc.h"
#include "math/vec3.h"

#include <vector>

struct sParticle {
    Vec3f pos;
    Vec3f vel; // units per second
    float age; // seconds
};

class cMeshEmitter {
public:
    // Size of the drawing buffer in points; the count stays below it.
    static constexpr int MAX_PARTICLES = 100000;

    // mesh must outlive the emitter and keep its arrays.
    explicit cMeshEmitter(const sMeshArrays& mesh);

    // Emits, moves, kills and rewrites positions(); dt in seconds.
    void update(float dt);

    int particle_count() const { return int(m_parts.size()); }
    const std::vector<sParticle>& particles() const { return m_parts; }
    // 3 floats per live particle, in particle order, as of the last update.
    const std::vector<float>& positions() const { return m_positions; }

    // Lifetime parameters (min, nl, rnd): a particle dies once
    // L^2 - age^rnd < 0, with L = min + nl * a fresh random number per test.
    Vec3f m_life{2.5f, 3.6f, 0.0f};
    // Particles per update at full draw: each update emits rate x 2 x random.
    float m_rate = 10000.0f;

private:
    void emit();
    void move_and_cull(float dt);

    sMeshArrays m_mesh;
    std::vector<sParticle> m_parts;
    std::vector<float> m_positions;
};
