#include "effects/scrub_multi_vbo.h"

#include <cstdlib>
#include <iostream>

cScrubMultiVBO::cScrubMultiVBO() {
    for (int i = 0; i < INITIAL_PAIRS; ++i)
        m_pool.push_back(new_pair(3 * BASE_VERTEX_COUNT));
}

int cScrubMultiVBO::new_pair(std::uint32_t capacity) {
    m_pairs.push_back({capacity});
    return int(m_pairs.size() - 1);
}

std::uint32_t cScrubMultiVBO::add_vertex(const Vec3f& pos, const Vec3f& normal) {
    m_pending_vertices.push_back({pos.x, pos.y, pos.z, normal.x, normal.y, normal.z});
    return std::uint32_t(m_pending_vertices.size() - 1);
}

void cScrubMultiVBO::end_render_block() {
    std::size_t n = m_pending_vertices.size();
    if (n % 3 != 0 && m_pending_indices.empty()) {
        std::cerr << "half finsished triangle" << std::endl;
        std::abort();
    }
    if (n == 0) {
        m_pending_indices.clear();
        return;
    }

    sRenderBlock block;
    if (m_pool.empty()) {
        std::cerr << "cScrubMultiVBO::cRenderBlock::cRenderBlock: Warning insufficient memory - "
                     "reallocation occured"
                  << std::endl;
        m_pool.push_back(new_pair(3 * BASE_VERTEX_COUNT));
    }
    block.pair = m_pool.back();
    m_pool.pop_back();
    sBufferPair& pair = m_pairs[std::size_t(block.pair)];
    if (pair.capacity < n) {
        std::cerr << "cScrubMultiVBO::endRenderBlock: Warning insufficient memory - reallocation "
                     "occured"
                  << std::endl;
        pair.capacity = std::uint32_t((3 * n) / 2);
    }

    block.vertex_count = std::uint32_t(n);
    block.indices.swap(m_pending_indices);
    auto positions = std::make_shared<std::vector<float>>(3 * n);
    auto normals = std::make_shared<std::vector<float>>(3 * n);
    float* pos = positions->data();
    float* nrm = normals->data();
    for (const sVertex& v : m_pending_vertices) {
        *pos++ = v.px;
        *pos++ = v.py;
        *pos++ = v.pz;
        if (v.pz < block.min_z)
            block.min_z = v.pz;
        if (v.pz > block.max_z)
            block.max_z = v.pz;
        *nrm++ = v.nx;
        *nrm++ = v.ny;
        *nrm++ = v.nz;
    }
    block.positions = std::move(positions);
    block.normals = std::move(normals);
    m_pending_vertices.clear();
    m_pending_indices.clear();
    m_blocks.push_back(std::move(block));
}

void cScrubMultiVBO::release_before(float now) {
    while (!m_blocks.empty() && m_blocks.front().max_z < now) {
        m_pool.push_back(m_blocks.front().pair);
        m_blocks.pop_front();
    }
}
