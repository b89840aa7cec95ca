// Materials as the fixed-function pipeline draws them: colours by
// illumination model, and up to three textures.
#pragma once

#include "mesh_files/material_data.h"
#include "texture_manager.h"

class cMaterial : public cMaterial_data {
public:
    cMaterial() = default;
    explicit cMaterial(const cMaterial_data& data) : cMaterial_data(data) {}
    virtual ~cMaterial() = default;
    cMaterial(const cMaterial&) = default;

    // Copies the appearance (not the name, not the emission colour).
    virtual cMaterial& operator=(const cMaterial& other);
    // Sets the GL material state of the illumination model.
    virtual void apply() const;
};

class cMaterial_GL : public cMaterial {
public:
    enum { SLOT_AMBIENT = 0, SLOT_DIFFUSE = 1, SLOT_SPECULAR = 2, SLOT_UNUSED = 3, SLOTS = 4 };

    cMaterial_GL() = default;
    explicit cMaterial_GL(const cMaterial_data& data) : cMaterial(data) {}
    // Copies everything but the emission colour, which starts black.
    cMaterial_GL(const cMaterial_GL& other);

    cMaterial& operator=(const cMaterial& other) override;
    // The base copy plus the emission colour and the texture handles.
    virtual cMaterial_GL& operator=(const cMaterial_GL& other);
    // The colours, then the textures: ambient map on unit 2, diffuse on 0,
    // specular on 1.
    void apply() const override;
    // Fetches the textures named by the file and spreads the opacity into
    // the colours' alpha; once, after loading.
    void prepare_textures();

    cTexProxy m_textures[SLOTS];
};
