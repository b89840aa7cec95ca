// Spatial hash over scrub nodes for the neighbour queries of the growth:
// cells of 1.2 units hashed into 100,000 buckets. A query looks at the
// buckets of the 27 cells around a point, including entries of far cells that
// happen to share those buckets, and filters by distance.
#pragma once

#include "math/vec3.h"

#include <cstdint>
#include <vector>

struct sScrubNode;

class cScrubNodeGrid {
public:
    static constexpr int BUCKET_COUNT = 100000;
    static constexpr float CELL_SIZE = 1.2f;

    cScrubNodeGrid();

    // Forgets every entry.
    void clear();
    // The node's position decides its bucket; it must not move while entered.
    void insert(sScrubNode* node);
    // The entered node nearest to p and its squared distance, or null (and
    // the start value 1.0e15) when none is in reach.
    sScrubNode* nearest(const Vec3f& p, double* best_d2) const;
    // Appends every entered node within 1.2 of p (squared distance below
    // 1.44), except exclude, to out.
    void gather(const Vec3f& p, const sScrubNode* exclude, std::vector<sScrubNode*>* out) const;

    static int bucket_of(const Vec3f& p);
    std::size_t entry_count() const { return m_entries.size(); }

private:
    struct sEntry {
        sScrubNode* node;
        std::int32_t next;   // next entry of the same bucket, -1 at the end
        std::int32_t bucket; // so that clear() touches only used buckets
    };

    // The 27 buckets around p, query cell first row by row.
    void neighbour_buckets(const Vec3f& p, int out[27]) const;

    std::vector<sEntry> m_entries;
    std::vector<std::int32_t> m_buckets; // first entry of each chain, -1 when empty
};

// Squared distance formed in double precision.
double scrub_dist2(const Vec3f& a, const Vec3f& b);
