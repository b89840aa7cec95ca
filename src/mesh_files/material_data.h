// The data of one mesh material as a .bzobj file stores it: names, colours,
// shininess, illumination model and opacity. GL-free; the GL material class
// builds on it and turns the texture names into texture handles.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Slots of the five texture names, in file order.
enum eMaterialTexture {
    MATTEX_AMBIENT = 0,  // ambient map
    MATTEX_DIFFUSE = 1,  // diffuse map
    MATTEX_THIRD = 2,    // kept, not loaded
    MATTEX_FOURTH = 3,   // kept, not loaded
    MATTEX_FALLBACK = 4, // diffuse map with repeat wrapping, used when MATTEX_DIFFUSE is empty
    MATTEX_COUNT = 5
};

class cMaterial_data {
public:
    cMaterial_data() = default;
    explicit cMaterial_data(std::string name) : m_name(std::move(name)) {}

    // Copies everything a material looks like (texture names, ambient,
    // diffuse and specular colours, shininess, illumination model, opacity,
    // second scalar) but keeps this material's name and emission colour.
    void copy_appearance(const cMaterial_data& other);
    // Gives the emission, ambient, diffuse and specular colours the opacity
    // as their alpha. Done once after loading, when the textures are fetched.
    void spread_opacity();

    std::string m_name;
    std::array<std::string, MATTEX_COUNT> m_texnames;
    float m_emission[4] = {0, 0, 0, 0}; // never read from a file
    float m_ambient[4] = {0, 0, 0, 0};
    float m_diffuse[4] = {0, 0, 0, 0};
    float m_specular[4] = {0, 0, 0, 0};
    float m_shininess = 0;
    int32_t m_illum = 0; // illumination model: 0, 1, 2 or 4
    float m_opacity = 1.0f;
    float m_scalar2 = 1.0f; // stored and copied, never used for drawing
};
