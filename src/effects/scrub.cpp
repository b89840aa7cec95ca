#include "effects/scrub.h"

#include "effects/scrub_tube.h"
#include "math/random.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {
constexpr float MAX_GROWTH_STEP = 2.5f;
constexpr int FIT_ROUNDS = 40;

bool is_linked(const sScrubNode& a, const sScrubNode* b) {
    return std::find(a.nbors.begin(), a.nbors.end(), b) != a.nbors.end();
}
} // namespace

void cScrub::update(float now, float ahead) {
    for (sScrubNode& node : m_nodes) {
        if (!node.nbors.empty() && node.pos.z < m_time - 1.0 && !node.is_finalised()) {
            finalise(&node);
            emit_segments(node);
        }
    }
    m_batcher.end_render_block();
    if (ahead > m_time)
        grow(m_time, float(ahead + 0.5));
    cull(now);
    m_batcher.release_before(now);
}

void cScrub::growth_steps(float t0, float t1, std::vector<std::pair<float, float>>* out) {
    if (std::fabs(double(t0) - t1) > MAX_GROWTH_STEP) {
        float mid = float((double(t0) + t1) * 0.5);
        growth_steps(t0, mid, out);
        growth_steps(mid, t1, out);
        return;
    }
    out->emplace_back(t0, t1);
}

void cScrub::grow(float t0, float t1) {
    std::vector<std::pair<float, float>> steps;
    growth_steps(t0, t1, &steps);
    for (const auto& step : steps)
        grow_step(step.first, step.second);
}

void cScrub::grow_step(float t0, float t1) {
    // Nodes were culled since the last step: enter the live ones afresh.
    m_grid.clear();
    for (sScrubNode& node : m_nodes)
        m_grid.insert(&node);

    std::vector<sScrubNode*> created;
    seed(t0, t1, &created);
    for (sScrubNode* node : created) {
        if (float(node->nbors.size()) < m_numNbors)
            link(node);
    }
    m_time = t1;
    m_batcher.end_render_block();
}

void cScrub::seed(float t0, float t1, std::vector<sScrubNode*>* created) {
    const double r = m_radius;
    const double outer = double(m_radius) + m_radialDepth;
    const double area = outer * outer - r * r;
    const double dt = double(t1) - t0;
    const double wanted = area * M_PI * dt * m_density;
    // Limited before the conversion so that any slider value converts safely.
    const long n = wanted > 0.0 ? long(std::min(wanted, 1.0e7)) : 0;

    long made = 0;
    for (long attempts = 0; made < n && attempts < 4 * n; ++attempts) {
        double angle = vt_rand_unit() * 2.0 * M_PI;
        double radius = std::sqrt(vt_rand_unit() * area + r * r); // uniform over the ring
        double z = t0 + vt_rand_unit() * dt;
        Vec3f candidate(float(std::cos(angle) * radius + 10.0),
                        float(std::sin(angle) * radius + 10.0), float(z));
        double best_d2 = 0.0;
        if (m_grid.nearest(candidate, &best_d2) && std::sqrt(best_d2) < m_minNborNodeDist)
            continue;
        m_nodes.emplace_back();
        sScrubNode* node = &m_nodes.back();
        node->pos = candidate;
        m_grid.insert(node);
        created->push_back(node);
        ++made;
    }
}

void cScrub::link(sScrubNode* node) {
    m_candidates.clear();
    m_grid.gather(node->pos, node, &m_candidates);
    const int tries = m_numNbors > 0.0f ? int(std::min(m_numNbors, 1.0e6f)) : 0;
    for (int t = 0; t < tries && !m_candidates.empty(); ++t) {
        std::size_t best = m_candidates.size();
        double best_d2 = 1.0e9;
        for (std::size_t i = 0; i < m_candidates.size(); ++i) {
            double d2 = scrub_dist2(m_candidates[i]->pos, node->pos);
            if (d2 < best_d2) {
                best_d2 = d2;
                best = i;
            }
        }
        if (best == m_candidates.size())
            break;
        sScrubNode* other = m_candidates[best];
        if (!is_linked(*node, other)) {
            node->nbors.push_back(other);
            other->nbors.push_back(node);
            if (m_linkMode == 0)
                emit_straight_tube(&m_batcher, node->pos, other->pos, m_cylinderRadius);
        }
        m_candidates[best] = m_candidates.back();
        m_candidates.pop_back();
    }
}

bool cScrub::link_direction(const sScrubNode& node, std::size_t k, Vec3f* dir) {
    if (k >= 6)
        return false;
    const Vec3f& axis = node.frame[k / 2];
    *dir = (k % 2) ? -axis : axis;
    return true;
}

double cScrub::frame_score(const sScrubNode& node) const {
    double score = 0.0;
    const std::size_t count = std::min<std::size_t>(node.nbors.size(), 6);
    for (std::size_t k = 0; k < count; ++k) {
        Vec3f dir;
        link_direction(node, k, &dir);
        Vec3f towards = (node.nbors[k]->pos - node.pos).normalized();
        score += dir.dot(towards);
    }
    return score;
}

void cScrub::finalise(sScrubNode* node) {
    node->frame[0] = Vec3f(1.0f, 0.0f, 0.0f);
    node->frame[1] = Vec3f(0.0f, 1.0f, 0.0f);
    node->frame[2] = Vec3f(0.0f, 0.0f, 1.0f);

    // Reorder the links so that they leave along the frame's axes.
    std::vector<sScrubNode*>& links = node->nbors;
    const double spread = double(links.size()) - 1.0;
    double best = frame_score(*node);
    for (int round = 0; round < FIT_ROUNDS; ++round) {
        std::size_t i = std::size_t(spread * vt_rand() / 32767.0);
        std::size_t j = std::size_t(spread * vt_rand() / 32767.0);
        std::swap(links[i], links[j]);
        double score = frame_score(*node);
        if (score > best)
            best = score;
        else
            std::swap(links[i], links[j]);
    }

    // Bend the axes towards the links (they need not stay orthogonal).
    for (int round = 0; round < FIT_ROUNDS; ++round) {
        int a = int(2.0 * vt_rand() / 32767.0);
        double r1 = vt_rand_unit();
        double r2 = vt_rand_unit();
        double r3 = vt_rand_unit();
        Vec3f saved = node->frame[a];
        node->frame[a] =
            (saved + Vec3f(float(r3 - 0.5), float(r2 - 0.5), float(r1 - 0.5))).normalized();
        double score = frame_score(*node);
        if (score > best)
            best = score;
        else
            node->frame[a] = saved;
    }
}

void cScrub::emit_segments(const sScrubNode& node) {
    for (std::size_t k = 0; k < node.nbors.size(); ++k) {
        const sScrubNode& other = *node.nbors[k];
        if (!other.is_finalised())
            continue;
        auto back = std::find(other.nbors.begin(), other.nbors.end(), &node);
        Vec3f dir_here, dir_there;
        if (!link_direction(node, k, &dir_here) ||
            !link_direction(other, std::size_t(back - other.nbors.begin()), &dir_there))
            continue;
        if (!m_useSpline) {
            emit_straight_tube(&m_batcher, node.pos, other.pos, m_cylinderRadius);
        } else {
            float d = float((other.pos - node.pos).length() / 3.0);
            emit_curved_tube(&m_batcher, node.pos, node.pos + dir_here * d,
                             other.pos + dir_there * d, other.pos, m_cylinderRadius);
        }
    }
}

void cScrub::cull(float now) {
    for (auto it = m_nodes.begin(); it != m_nodes.end();) {
        if (it->pos.z < now) {
            sScrubNode* gone = &*it;
            for (sScrubNode* other : gone->nbors) {
                auto& list = other->nbors;
                list.erase(std::remove(list.begin(), list.end(), gone), list.end());
            }
            it = m_nodes.erase(it);
        } else {
            ++it;
        }
    }
}

void cScrub::copy_state_from(const cScrub& other) {
    m_density = other.m_density;
    m_radius = other.m_radius;
    m_radialDepth = other.m_radialDepth;
    m_minNborNodeDist = other.m_minNborNodeDist;
    m_cylinderRadius = other.m_cylinderRadius;
    m_numNbors = other.m_numNbors;
    m_linkMode = other.m_linkMode;
    m_time = other.m_time;
    m_useSpline = other.m_useSpline;
    // The links point into the node list: they are turned to the copies.
    m_nodes = other.m_nodes;
    std::unordered_map<const sScrubNode*, sScrubNode*> map;
    map.reserve(m_nodes.size());
    auto copy = m_nodes.begin();
    for (const sScrubNode& node : other.m_nodes)
        map.emplace(&node, &*copy++);
    for (sScrubNode& node : m_nodes)
        for (sScrubNode*& nbor : node.nbors)
            nbor = map.at(nbor);
    // Every growth step enters the live nodes into the grid afresh; until
    // then it holds nothing that is read.
    m_grid.clear();
    m_batcher = other.m_batcher;
    m_candidates.clear();
}

std::size_t cScrub::state_bytes(std::unordered_set<const void*>* counted) const {
    // The grid's buckets are allocated however empty it is.
    std::size_t bytes = sizeof(*this) + cScrubNodeGrid::BUCKET_COUNT * sizeof(std::int32_t);
    for (const sScrubNode& node : m_nodes)
        bytes += sizeof(node) + 2 * sizeof(void*) + node.nbors.capacity() * sizeof(sScrubNode*);
    for (const cScrubMultiVBO::sRenderBlock& block : m_batcher.blocks()) {
        bytes += sizeof(block) + block.indices.capacity() * sizeof(std::uint32_t);
        for (const auto& array : {block.positions, block.normals})
            if (array && counted->insert(array.get()).second)
                bytes += array->capacity() * sizeof(float);
    }
    return bytes;
}
