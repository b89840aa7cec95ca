// The drawing side of a particle emitter: the live particles' positions as
// points. A dynamic vertex buffer sized for the most particles an emitter
// can hold is allocated at the first draw from it and rewritten with the
// positions at every such draw; drawn on the CPU, the points are read from
// the emitter's memory and never uploaded.
#pragma once

#include "effects/mesh_emitter.h"
#include "effects/point_source.h"
#include "mesh_files/vbo.h"

class cMeshEmitter_GL : public iPointSource {
public:
    // Draws emitter's particles; the emitter outlives this. Needs the GL
    // context.
    explicit cMeshEmitter_GL(const cMeshEmitter& emitter);

    // The positions as of the emitter's last update, in order.
    const float* positions() const override { return m_emitter.positions().data(); }
    std::size_t point_count() const override;
    // Uploads the positions, then draws them as GL points under the caller's
    // state. Leaves the vertex array disabled and no array buffer bound.
    void draw_from_buffer() override;

    GLuint buffer() const { return m_vbo.get_buffer(); }

private:
    const cMeshEmitter& m_emitter;
    cVBO m_vbo{3};
    bool m_allocated = false;
};
