// Batches the scrub's tube triangles into render blocks. Each block keeps its
// geometry in CPU arrays together with the buffer pair (one position and one
// normal buffer) it took from a pool; the drawing side gives every pair a pair
// of GL buffers of the pair's capacity, uploads a block once and draws it.
// Blocks are released, oldest first, once the camera has passed them, and
// their pairs go back to the pool.
#pragma once

#include "math/vec3.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class cScrubMultiVBO {
public:
    static constexpr std::uint32_t BASE_VERTEX_COUNT = 30000;
    static constexpr int INITIAL_PAIRS = 30;

    struct sBufferPair {
        std::uint32_t capacity; // in vertices, for both buffers
    };

    struct sRenderBlock {
        float min_z = 1.0e12f;
        float max_z = -1.0e12f;
        int pair = -1; // index into pairs()
        std::uint32_t vertex_count = 0;
        // 3 floats per vertex each. A finished block never changes, so copies
        // of the batcher (the makers' snapshots) share these arrays.
        std::shared_ptr<const std::vector<float>> positions;
        std::shared_ptr<const std::vector<float>> normals;
        // Triangles by index; when empty the vertices form triangles in order.
        std::vector<std::uint32_t> indices;
        // Set by the drawing side once the arrays are in the pair's buffers;
        // the arrays stay, so that the block can be uploaded again.
        bool uploaded = false;
    };

    // Fills the pool with 30 pairs of 90,000 vertices.
    cScrubMultiVBO();

    // Appends a vertex to the open block; returns its index there.
    std::uint32_t add_vertex(const Vec3f& pos, const Vec3f& normal);
    void add_index(std::uint32_t index) { m_pending_indices.push_back(index); }

    // Turns the pending geometry into a render block, if there is any.
    void end_render_block();
    // Releases the oldest blocks whose largest z is below now.
    void release_before(float now);

    std::deque<sRenderBlock>& blocks() { return m_blocks; }
    const std::deque<sRenderBlock>& blocks() const { return m_blocks; }
    const std::vector<sBufferPair>& pairs() const { return m_pairs; }
    std::size_t spare_pair_count() const { return m_pool.size(); }
    std::size_t pending_vertex_count() const { return m_pending_vertices.size(); }
    std::size_t pending_index_count() const { return m_pending_indices.size(); }

private:
    struct sVertex {
        float px, py, pz;
        float nx, ny, nz;
    };

    int new_pair(std::uint32_t capacity);

    std::deque<sRenderBlock> m_blocks;
    std::vector<sBufferPair> m_pairs;
    std::vector<int> m_pool; // spare pairs; the last one is handed out next
    std::vector<sVertex> m_pending_vertices;
    std::vector<std::uint32_t> m_pending_indices;
};
