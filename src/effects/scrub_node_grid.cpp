#include "effects/scrub_node_grid.h"

#include "effects/scrub_node.h"

namespace {
int wrap_bucket(std::int64_t b) {
    std::int64_t r = b % cScrubNodeGrid::BUCKET_COUNT;
    if (r < 0)
        r += cScrubNodeGrid::BUCKET_COUNT;
    return int(r);
}

// Truncation toward zero; coordinates far outside the int range are pinned
// so the conversion stays defined.
std::int64_t cell_of(float v) {
    double c = double(v) / double(cScrubNodeGrid::CELL_SIZE);
    if (!(c > -1.0e9))
        return -1000000000;
    if (c > 1.0e9)
        return 1000000000;
    return std::int64_t(c);
}
} // namespace

double scrub_dist2(const Vec3f& a, const Vec3f& b) {
    double dx = double(a.x) - b.x, dy = double(a.y) - b.y, dz = double(a.z) - b.z;
    return dx * dx + dy * dy + dz * dz;
}

cScrubNodeGrid::cScrubNodeGrid() : m_buckets(BUCKET_COUNT, -1) {
    m_entries.reserve(100000);
}

int cScrubNodeGrid::bucket_of(const Vec3f& p) {
    return wrap_bucket(169 * cell_of(p.z) + 13 * cell_of(p.y) + cell_of(p.x));
}

void cScrubNodeGrid::clear() {
    for (const sEntry& e : m_entries)
        m_buckets[std::size_t(e.bucket)] = -1;
    m_entries.clear();
}

void cScrubNodeGrid::insert(sScrubNode* node) {
    if (m_entries.size() == m_entries.capacity())
        m_entries.reserve(2 * m_entries.capacity() + 1000);
    int bucket = bucket_of(node->pos);
    m_entries.push_back({node, m_buckets[std::size_t(bucket)], bucket});
    m_buckets[std::size_t(bucket)] = std::int32_t(m_entries.size() - 1);
}

void cScrubNodeGrid::neighbour_buckets(const Vec3f& p, int out[27]) const {
    int home = bucket_of(p);
    int n = 0;
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                out[n++] = wrap_bucket(std::int64_t(home) + dx + 13 * dy + 169 * dz);
}

sScrubNode* cScrubNodeGrid::nearest(const Vec3f& p, double* best_d2) const {
    int buckets[27];
    neighbour_buckets(p, buckets);
    double best = 1.0e15;
    sScrubNode* found = nullptr;
    for (int b : buckets) {
        for (std::int32_t i = m_buckets[std::size_t(b)]; i >= 0;
             i = m_entries[std::size_t(i)].next) {
            sScrubNode* node = m_entries[std::size_t(i)].node;
            double d2 = scrub_dist2(node->pos, p);
            if (d2 < best) {
                best = d2;
                found = node;
            }
        }
    }
    *best_d2 = best;
    return found;
}

void cScrubNodeGrid::gather(const Vec3f& p, const sScrubNode* exclude,
                            std::vector<sScrubNode*>* out) const {
    const double limit = 1.44; // the cell size squared
    int buckets[27];
    neighbour_buckets(p, buckets);
    for (int b : buckets) {
        for (std::int32_t i = m_buckets[std::size_t(b)]; i >= 0;
             i = m_entries[std::size_t(i)].next) {
            sScrubNode* node = m_entries[std::size_t(i)].node;
            if (node != exclude && scrub_dist2(node->pos, p) < limit)
                out->push_back(node);
        }
    }
}
