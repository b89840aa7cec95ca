#include "effects/scrub_multi_vbo_gl.h"

#include "debug.h"
#include "gl_entry.h"
#include "gl_setup.h"
#include "profile_scope.h"

#include <algorithm>

namespace {
// Copies n floats into a buffer through a write-only mapping; false when
// the buffer could not be mapped.
bool fill(cVBO& vbo, const std::vector<float>& data, std::size_t n) {
    float* ptr = vbo.map();
    if (!ptr) {
        report_gl_error("cScrubMultiVBO::upload");
        return false;
    }
    std::copy(data.begin(), data.begin() + std::ptrdiff_t(n), ptr);
    vbo.unmap();
    return true;
}
} // namespace

void cScrubMultiVBO_GL::upload(cScrubMultiVBO& batcher) {
    const std::vector<cScrubMultiVBO::sBufferPair>& pairs = batcher.pairs();
    while (m_pairs.size() < pairs.size())
        m_pairs.push_back(std::make_unique<sGLPair>());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        sGLPair& gl = *m_pairs[i];
        if (gl.capacity >= pairs[i].capacity)
            continue;
        // New, or grown by the batcher for a block larger than the pair.
        gl.capacity = pairs[i].capacity;
        for (cVBO* vbo : {&gl.pos, &gl.norm}) {
            vbo->set_usage(GL_DYNAMIC_DRAW_ARB);
            vbo->upload(int(gl.capacity));
        }
    }
    for (cScrubMultiVBO::sRenderBlock& block : batcher.blocks())
        if (!block.uploaded)
            upload_block(&block);
}

void cScrubMultiVBO_GL::upload_block(cScrubMultiVBO::sRenderBlock* block) {
    VT_ASSERT(block->pair >= 0 && std::size_t(block->pair) < m_pairs.size());
    sGLPair& gl = *m_pairs[std::size_t(block->pair)];
    const std::size_t n = std::size_t(block->vertex_count) * 3;
    VT_ASSERT(block->positions && block->normals);
    VT_ASSERT(block->positions->size() >= n && block->normals->size() >= n);
    VT_ASSERT(block->vertex_count <= gl.capacity);
    bool ok = fill(gl.pos, *block->positions, n) && fill(gl.norm, *block->normals, n);
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    if (!ok)
        return; // tried again at the next upload
    block->uploaded = true;
}

void cScrubMultiVBO_GL::draw(cScrubMultiVBO& batcher) {
    cProfileScope scope("scrub blocks");
    upload(batcher);
    // Each block is handed to the driver at once: a software rasteriser
    // then fills in one block while the next is being set up, instead of
    // starting only after all of them. The order, and so the picture, stays.
    for (const cScrubMultiVBO::sRenderBlock& block : batcher.blocks())
        if (block.uploaded) {
            draw_block(block);
            glFlush();
        }
}

void cScrubMultiVBO_GL::draw_block(const cScrubMultiVBO::sRenderBlock& block) const {
    VT_ASSERT(block.pair >= 0 && std::size_t(block.pair) < m_pairs.size());
    sGLPair& gl = *m_pairs[std::size_t(block.pair)];
    gl.pos.bind_vertices();
    gl.norm.bind_normals();
    if (block.indices.empty()) {
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(block.vertex_count));
    } else {
        // The indices live in memory: no element buffer may be bound.
        ext::glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
        glDrawElements(GL_TRIANGLES, GLsizei(block.indices.size()), GL_UNSIGNED_INT,
                       block.indices.data());
    }
    ext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
