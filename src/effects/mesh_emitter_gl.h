// The drawing side of a particle emitter: a dynamic vertex buffer sized for
// the most particles an emitter can hold, rewritten with the live particles'
// positions after every update and drawn as GL points.
#pragma once

#include "effects/mesh_emitter.h"
#include "mesh_files/vbo.h"

class cMeshEmitter_GL {
public:
    // Allocates room for MAX_PARTICLES points. Needs the GL context.
    cMeshEmitter_GL();

    // Writes the positions of the emitter's live particles, in order.
    void upload(const cMeshEmitter& emitter);
    // Draws the particles of the last upload as points under the caller's
    // state. Leaves the vertex array disabled and no array buffer bound.
    void draw();

    int count() const { return m_count; }
    GLuint buffer() const { return m_vbo.get_buffer(); }

private:
    cVBO m_vbo{3};
    int m_count = 0;
};
