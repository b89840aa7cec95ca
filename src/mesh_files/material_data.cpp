#include "mesh_files/material_data.h"

#include <algorithm>

void cMaterial_data::copy_appearance(const cMaterial_data& other) {
    m_texnames = other.m_texnames;
    std::copy(other.m_ambient, other.m_ambient + 4, m_ambient);
    std::copy(other.m_diffuse, other.m_diffuse + 4, m_diffuse);
    std::copy(other.m_specular, other.m_specular + 4, m_specular);
    m_shininess = other.m_shininess;
    m_illum = other.m_illum;
    m_opacity = other.m_opacity;
    m_scalar2 = other.m_scalar2;
}

void cMaterial_data::spread_opacity() {
    m_emission[3] = m_opacity;
    m_ambient[3] = m_opacity;
    m_diffuse[3] = m_opacity;
    m_specular[3] = m_opacity;
}
