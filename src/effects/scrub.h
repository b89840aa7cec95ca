// The growing scrub: an endless tunnel of thin branching tubes in a space
// whose x and y are the tunnel's cross-section and whose z is time. Nodes are
// seeded on a ring around the axis x = y = 10 slightly ahead of the present,
// linked to their nearest neighbours, turned into tube geometry once the
// growth front has moved on, and removed when the present passes them.
#pragma once

#include "effects/scrub_multi_vbo.h"
#include "effects/scrub_node.h"
#include "effects/scrub_node_grid.h"

#include <list>
#include <unordered_set>
#include <utility>
#include <vector>

class cScrub {
public:
    cScrub() = default;
    virtual ~cScrub() = default;
    cScrub(const cScrub&) = delete;
    cScrub& operator=(const cScrub&) = delete;

    // One frame: finalises ripe nodes, grows the front up to ahead + 0.5,
    // culls nodes before now and releases the render blocks behind now.
    void update(float now, float ahead);

    // Grows from t0 to t1, in steps of at most 2.5 time units.
    void grow(float t0, float t1);
    // The steps grow takes for t0..t1, by recursive halving.
    static void growth_steps(float t0, float t1, std::vector<std::pair<float, float>>* out);

    const std::list<sScrubNode>& nodes() const { return m_nodes; }
    cScrubMultiVBO& batcher() { return m_batcher; }
    const cScrubMultiVBO& batcher() const { return m_batcher; }

    // Emits the tubes from a finalised node to its finalised neighbours into
    // the batcher's open block; links past the sixth at either end have no
    // direction and draw nothing.
    void emit_segments(const sScrubNode& node);

    // Direction of the link at position k of node's links: frame axis k / 2,
    // negated for odd k. Only the first six links have one.
    static bool link_direction(const sScrubNode& node, std::size_t k, Vec3f* dir);

    // Makes this scrub a copy of other: nodes and their links, the batcher
    // (sharing its finished blocks' arrays) and the parameters.
    void copy_state_from(const cScrub& other);
    // Memory of a copy, in bytes; the blocks' arrays only when not in
    // counted yet (they are shared), and then added to it.
    std::size_t state_bytes(std::unordered_set<const void*>* counted) const;

    // Growth parameters; the scene binds its tweak variables to these.
    float m_density = 4.3f;         // nodes per unit of ring area and time
    float m_radius = 0.5f;          // inner radius of the seeding ring
    float m_radialDepth = 5.0f;     // ring width
    float m_minNborNodeDist = 0.4f; // closest allowed distance of a new node
    float m_cylinderRadius = 0.025f;
    float m_numNbors = 4.1f; // links a new node tries to make (truncated as a count)
    // 0 emits a straight tube as soon as a link is made; anything else leaves
    // all geometry to finalisation.
    int m_linkMode = 2;
    float m_time = 0.0f; // growth front
    bool m_useSpline = false;

private:
    void grow_step(float t0, float t1);
    void seed(float t0, float t1, std::vector<sScrubNode*>* created);
    void link(sScrubNode* node);
    void finalise(sScrubNode* node);
    double frame_score(const sScrubNode& node) const;
    void cull(float now);

    std::list<sScrubNode> m_nodes;
    cScrubNodeGrid m_grid;
    cScrubMultiVBO m_batcher;
    std::vector<sScrubNode*> m_candidates; // scratch of link()
};

// The curved-tube variant; the scene switches curves on through m_useSpline.
class cScrubSpline : public cScrub {};
