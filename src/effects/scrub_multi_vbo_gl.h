// The drawing side of the scrub's batcher: one pair of GL vertex buffers
// (positions and normals) for every buffer pair of the batcher, each sized
// to the pair's capacity. A render block is copied into its pair's buffers
// once (again after a restored state); its arrays stay with it. Released blocks leave their buffers
// to the pair, which the batcher hands to a later block.
#pragma once

#include "effects/scrub_multi_vbo.h"
#include "mesh_files/vbo.h"

#include <cstdint>
#include <memory>
#include <vector>

class cScrubMultiVBO_GL {
public:
    cScrubMultiVBO_GL() = default;
    // Deletes the GL buffers of every pair.
    ~cScrubMultiVBO_GL() = default;
    cScrubMultiVBO_GL(const cScrubMultiVBO_GL&) = delete;
    cScrubMultiVBO_GL& operator=(const cScrubMultiVBO_GL&) = delete;

    // Creates the buffers of pairs that have none yet, enlarges those whose
    // pair has grown, and uploads every block not uploaded yet. Needs the GL
    // context.
    void upload(cScrubMultiVBO& batcher);
    // Uploads, then draws every block of the batcher, oldest first, under
    // the caller's state (shader, lighting, transform).
    void draw(cScrubMultiVBO& batcher);
    // Draws one uploaded block: the pair's buffers as vertex and normal
    // arrays, as triangles in order or through the block's index array.
    // Leaves both arrays disabled and no array buffer bound.
    void draw_block(const cScrubMultiVBO::sRenderBlock& block) const;

    std::size_t pair_count() const { return m_pairs.size(); }
    // Capacity in vertices of the GL buffers of pair i.
    std::uint32_t capacity(std::size_t i) const { return m_pairs[i]->capacity; }

private:
    struct sGLPair {
        cVBO pos{3};
        cVBO norm{3};
        std::uint32_t capacity = 0;
    };

    void upload_block(cScrubMultiVBO::sRenderBlock* block);

    std::vector<std::unique_ptr<sGLPair>> m_pairs;
};
