#include "effects/solar_flares.h"

#include "debug.h"
#include "gui/gui_var_list.h"
#include "math/clamp01.h"
#include "math/random.h"
#include "scene.h"

#include <cmath>

void cSolarFlares::create_emitter(const sMeshArrays& sun) {
    m_emitter = std::make_unique<cMeshEmitter>(sun);
}

void cSolarFlares::add_vars(cGuiVarList* list) {
    VT_ASSERT_MSG(m_emitter, "cSolarFlares::add_vars needs the emitter: load first");
    list->add_float("decay time", &m_decay, 500.0f, 10000.0f);
    list->add_float("num flares", &m_numFlares, 0.0f, 1000.0f);
    list->add_float("points pr sec", &m_emitter->m_rate, 0.0f, 100000.0f);
    list->add_vec3("p-life(min,nl,rnd)", &m_emitter->m_life, 0.0f, 40.0f);
    list->add_vec3("p-col", &m_partColour, 0.0f, 1.0f);
    list->add_float("p-alpha", &m_partAlpha, 0.0f, 0.1f);
    list->add_float("p-size", &m_partSize, 0.0f, 7.0f);
}

sFlare cSolarFlares::new_flare(int birth_ms) {
    double angle = vt_rand_unit() * 2.0 * M_PI;
    double r2 = vt_rand_unit();
    double r3 = vt_rand_unit();
    double r4 = vt_rand_unit();
    Vec3f axis = Vec3f(float(r4 - 0.5), float(r3 - 0.5), float(r2 - 0.5)).normalized();
    // Rotation by angle about axis.
    double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    double x = axis.x, y = axis.y, z = axis.z;
    const double m[16] = {x * x * t + c,
                          y * x * t - z * s,
                          z * x * t + y * s,
                          0.0,
                          x * y * t + z * s,
                          y * y * t + c,
                          z * y * t - x * s,
                          0.0,
                          x * z * t - y * s,
                          y * z * t + x * s,
                          z * z * t + c,
                          0.0,
                          0.0,
                          0.0,
                          0.0,
                          1.0};
    sFlare flare;
    flare.birth = birth_ms;
    for (int i = 0; i < 16; ++i)
        flare.matrix[i] = float(m[i]);
    return flare;
}

void cSolarFlares::start(int start_ms) {
    m_decay = 3500.0f;
    while (float(m_flares.size()) < m_numFlares)
        m_flares.push_back(new_flare(0));
    for (sFlare& flare : m_flares)
        flare.birth = int(start_ms - double(m_decay) * vt_rand() / 32767.0);
}

void cSolarFlares::update(const sTimeBlock& time) {
    const int elapsed = time.current - time.start;
    std::size_t i = 0;
    while (i < m_flares.size()) {
        if (float(elapsed) <= float(m_flares[i].birth) + m_decay) {
            ++i;
        } else if (float(m_flares.size()) > m_numFlares) {
            // Too many: a dying flare leaves, keeping the order of the rest.
            m_flares.erase(m_flares.begin() + std::ptrdiff_t(i));
        } else {
            m_flares[i] = new_flare(elapsed);
            ++i;
        }
    }
    // New flares get a random age at once, so they do not all appear together.
    while (float(m_flares.size()) < m_numFlares) {
        m_flares.push_back(new_flare(elapsed));
        m_flares.back().birth = int(elapsed - vt_rand_unit() * m_decay);
    }
    if (m_emitter)
        m_emitter->update(float((time.current - time.previous) / 1000.0));
}

Vec3f cSolarFlares::draw_jitter() const {
    double r1 = vt_rand_unit();
    double r2 = vt_rand_unit();
    double r3 = vt_rand_unit();
    return Vec3f(float((0.5 - 0.5 * r3) * 1.1), float((0.5 - 0.5 * r2) * 1.1),
                 float((0.5 - 0.5 * r1) * 1.1));
}

sFlareLook cSolarFlares::look(const sFlare& flare, int elapsed_ms) const {
    return look_at_age((elapsed_ms - flare.birth) / double(m_decay));
}

sFlareLook cSolarFlares::look_at_age(double age) {
    sFlareLook look;
    look.shader_param = float(2.0 * age - 1.0);
    // Invisible at birth, full from a quarter to three quarters of the life.
    look.brightness = float(clamp01(4.0 * std::sin(M_PI * clamp01(age))));
    return look;
}

void cSolarFlares::copy_state_from(const cSolarFlares& other) {
    m_decay = other.m_decay;
    m_partColour = other.m_partColour;
    m_partAlpha = other.m_partAlpha;
    m_partSize = other.m_partSize;
    m_numFlares = other.m_numFlares;
    m_flares = other.m_flares;
    m_jitter = other.m_jitter;
    if (!other.m_emitter)
        m_emitter.reset();
    else if (m_emitter)
        *m_emitter = *other.m_emitter;
    else
        m_emitter = std::make_unique<cMeshEmitter>(*other.m_emitter);
}

std::size_t cSolarFlares::state_bytes() const {
    std::size_t bytes = sizeof(*this) + m_flares.capacity() * sizeof(sFlare);
    if (m_emitter)
        bytes += sizeof(cMeshEmitter) +
                 std::size_t(m_emitter->particle_count()) * (sizeof(sParticle) + 3 * sizeof(float));
    return bytes;
}
