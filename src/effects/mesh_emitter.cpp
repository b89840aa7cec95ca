#include "effects/mesh_emitter.h"

#include "debug.h"
#include "math/random.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

cMeshEmitter::cMeshEmitter(const sMeshArrays& mesh) : m_mesh(mesh) {
    m_positions.reserve(std::size_t(MAX_PARTICLES) * 3);
}

void cMeshEmitter::update(float dt) {
    emit();
    move_and_cull(dt);

    int num_parts = particle_count();
    VT_ASSERT(num_parts < MAX_PARTICLES);
    m_positions.resize(std::size_t(num_parts) * 3);
    float* out = m_positions.data();
    for (const sParticle& p : m_parts) {
        out[0] = p.pos.x;
        out[1] = p.pos.y;
        out[2] = p.pos.z;
        out += 3;
    }
}

void cMeshEmitter::emit() {
    // The count per update does not depend on dt.
    double wanted = m_rate * vt_rand_unit() * 2.0;
    int room = (MAX_PARTICLES - 1) - particle_count();
    // Limited before the conversion, so that any rate a slider can set converts safely.
    int n = wanted < double(room) ? int(wanted) : room;
    for (int i = 0; i < n; ++i) {
        cMeshLoc loc = cMeshLoc::random(m_mesh);
        Vec3f c0 = loc.corner(0), c1 = loc.corner(1), c2 = loc.corner(2);
        // A degenerate triangle has no normal: normalized() keeps the zero
        // vector, so its particles stay where they are born.
        Vec3f normal = (c1 - c0).cross(c2 - c0).normalized();
        sParticle p;
        p.pos = loc.position();
        p.vel = normal * 2.0f;
        p.age = 0.0f;
        m_parts.push_back(p);
    }
}

void cMeshEmitter::move_and_cull(float dt) {
    // Particles born in the same update share their age to the bit, so
    // age^rnd is computed once per age seen in this update (a small table
    // indexed by the age's bits; a clash only computes it again).
    struct sPower {
        std::uint32_t age_bits;
        bool known;
        double value;
    };
    std::array<sPower, 256> powers;
    for (sPower& power : powers)
        power.known = false;
    const double exponent = double(m_life.z);
    std::size_t i = 0;
    while (i < m_parts.size()) {
        sParticle& p = m_parts[i];
        p.pos += p.vel * dt;
        p.age += dt;
        double r = vt_rand_unit();
        double life = m_life.x + double(m_life.y) * r;
        std::uint32_t bits;
        std::memcpy(&bits, &p.age, sizeof bits);
        sPower& power = powers[(bits ^ (bits >> 8) ^ (bits >> 16)) & 255u];
        if (!power.known || power.age_bits != bits)
            power = {bits, true, std::pow(double(p.age), exponent)};
        if (life * life - power.value < 0.0) {
            // Swap-remove keeps the array dense; the particle moved into this
            // place is examined next.
            m_parts[i] = m_parts.back();
            m_parts.pop_back();
        } else {
            ++i;
        }
    }
}
