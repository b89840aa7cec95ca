#include "mesh_files/material.h"

#include "gl_entry.h"

namespace {
const GLfloat kBlack[4] = {0.0f, 0.0f, 0.0f, 1.0f};
const GLfloat kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};

void bind_on_unit(const cTexProxy& texture, GLenum unit) {
    ext::glActiveTextureARB(unit);
    texture.enable();
    texture.bind();
}
} // namespace

cMaterial& cMaterial::operator=(const cMaterial& other) {
    if (this != &other)
        copy_appearance(other);
    return *this;
}

void cMaterial::apply() const {
    switch (m_illum) {
    case 0:
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, kBlack);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kBlack);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, m_diffuse);
        break;
    case 1:
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, m_emission);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m_ambient);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m_diffuse);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kBlack);
        break;
    case 2:
    case 4:
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, m_emission);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m_ambient);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m_diffuse);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m_specular);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, m_shininess);
        break;
    default:
        // Unknown models keep whatever the previous range set.
        break;
    }
}

cMaterial_GL::cMaterial_GL(const cMaterial_GL& other) : cMaterial(other) {
    for (float& c : m_emission)
        c = 0.0f;
    for (int i = 0; i < SLOTS; ++i)
        m_textures[i] = other.m_textures[i];
}

cMaterial& cMaterial_GL::operator=(const cMaterial& other) {
    return cMaterial::operator=(other);
}

cMaterial_GL& cMaterial_GL::operator=(const cMaterial_GL& other) {
    if (this == &other)
        return *this;
    cMaterial::operator=(other);
    for (int i = 0; i < 4; ++i)
        m_emission[i] = other.m_emission[i];
    for (int i = 0; i < SLOTS; ++i)
        m_textures[i] = other.m_textures[i];
    return *this;
}

void cMaterial_GL::apply() const {
    cMaterial::apply();
    if (m_textures[SLOT_AMBIENT].isValid()) {
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kWhite);
        bind_on_unit(m_textures[SLOT_AMBIENT], GL_TEXTURE2_ARB);
    }
    if (m_textures[SLOT_DIFFUSE].isValid()) {
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, kWhite);
        bind_on_unit(m_textures[SLOT_DIFFUSE], GL_TEXTURE0_ARB);
    }
    if (m_textures[SLOT_SPECULAR].isValid()) {
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kWhite);
        bind_on_unit(m_textures[SLOT_SPECULAR], GL_TEXTURE1_ARB);
    }
}

void cMaterial_GL::prepare_textures() {
    cTextureManager* textures = cTextureManager::instance();
    const std::string& ambient = m_texnames[MATTEX_AMBIENT];
    const std::string& diffuse = m_texnames[MATTEX_DIFFUSE];
    const std::string& fallback = m_texnames[MATTEX_FALLBACK];
    if (!ambient.empty())
        m_textures[SLOT_AMBIENT] = textures->get_texture(ambient, true, GL_CLAMP);
    if (!diffuse.empty())
        m_textures[SLOT_DIFFUSE] = textures->get_texture(diffuse, true, GL_CLAMP);
    else if (!fallback.empty())
        m_textures[SLOT_DIFFUSE] = textures->get_texture(fallback, true, GL_REPEAT);
    // The third name is the specular map (unit 1); the fourth has no use.
    if (!m_texnames[MATTEX_THIRD].empty())
        m_textures[SLOT_SPECULAR] = textures->get_texture(m_texnames[MATTEX_THIRD], true, GL_CLAMP);
    spread_opacity();
}
