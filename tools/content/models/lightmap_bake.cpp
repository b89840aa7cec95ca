#include "lightmap_bake.h"

#include "debug.h"

#include <algorithm>
#include <cmath>

namespace {
const double PI = 3.14159265358979323846;

struct sTri {
    sV3 a, b, c;
    sV3 centroid() const { return (a + b + c) * (1.0 / 3); }
};

struct sBox {
    sV3 lo{1e30, 1e30, 1e30}, hi{-1e30, -1e30, -1e30};
    void grow(const sV3& p) {
        lo = sV3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi = sV3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
};

// Bounding volume hierarchy over the room's triangles, for occlusion rays.
class cOccluder {
public:
    explicit cOccluder(std::vector<sTri> tris) : m_tris(std::move(tris)) {
        m_order.resize(m_tris.size());
        for (std::size_t i = 0; i < m_order.size(); ++i)
            m_order[i] = int(i);
        build(0, int(m_order.size()));
    }

    // True when the segment from o along unit d hits a triangle before tmax.
    bool occluded(const sV3& o, const sV3& d, double tmax) const {
        const sV3 inv(1 / (d.x != 0 ? d.x : 1e-30), 1 / (d.y != 0 ? d.y : 1e-30),
                      1 / (d.z != 0 ? d.z : 1e-30));
        int stack[64];
        int top = 0;
        stack[top++] = 0;
        while (top) {
            const sNode& n = m_nodes[stack[--top]];
            if (!hits_box(n.box, o, inv, tmax))
                continue;
            if (n.count) {
                for (int i = n.first; i < n.first + n.count; ++i)
                    if (hits_tri(m_tris[m_order[i]], o, d, tmax))
                        return true;
            } else {
                stack[top++] = n.left;
                stack[top++] = n.left + 1;
            }
        }
        return false;
    }

private:
    struct sNode {
        sBox box;
        int left = 0, first = 0, count = 0;
    };

    int build(int first, int count) {
        const int index = int(m_nodes.size());
        m_nodes.emplace_back();
        sBox box, centres;
        for (int i = first; i < first + count; ++i) {
            const sTri& t = m_tris[m_order[i]];
            box.grow(t.a);
            box.grow(t.b);
            box.grow(t.c);
            centres.grow(t.centroid());
        }
        m_nodes[index].box = box;
        if (count <= 4) {
            m_nodes[index].first = first;
            m_nodes[index].count = count;
            return index;
        }
        const sV3 ext = centres.hi - centres.lo;
        const int axis = ext.x > ext.y && ext.x > ext.z ? 0 : (ext.y > ext.z ? 1 : 2);
        auto key = [&](int t) {
            const sV3 c = m_tris[t].centroid();
            return axis == 0 ? c.x : (axis == 1 ? c.y : c.z);
        };
        const int mid = first + count / 2;
        std::nth_element(m_order.begin() + first, m_order.begin() + mid,
                         m_order.begin() + first + count, [&](int a, int b) {
                             const double ka = key(a), kb = key(b);
                             return ka < kb || (ka == kb && a < b);
                         });
        // Children sit next to each other: left, left + 1.
        const int left = int(m_nodes.size());
        m_nodes.emplace_back();
        m_nodes.emplace_back();
        m_nodes[index].left = left;
        build_into(left, first, mid - first);
        build_into(left + 1, mid, first + count - mid);
        return index;
    }

    void build_into(int slot, int first, int count) {
        const int built = build(first, count);
        m_nodes[slot] = m_nodes[built];
        // The node built at the end is now a duplicate; it stays unused.
    }

    static bool hits_box(const sBox& b, const sV3& o, const sV3& inv, double tmax) {
        double t0 = 0, t1 = tmax;
        const double lo[3] = {b.lo.x, b.lo.y, b.lo.z}, hi[3] = {b.hi.x, b.hi.y, b.hi.z};
        const double oo[3] = {o.x, o.y, o.z}, ii[3] = {inv.x, inv.y, inv.z};
        for (int a = 0; a < 3; ++a) {
            double ta = (lo[a] - oo[a]) * ii[a], tb = (hi[a] - oo[a]) * ii[a];
            if (ta > tb)
                std::swap(ta, tb);
            t0 = std::max(t0, ta);
            t1 = std::min(t1, tb);
            if (t0 > t1)
                return false;
        }
        return true;
    }

    static bool hits_tri(const sTri& t, const sV3& o, const sV3& d, double tmax) {
        const sV3 e1 = t.b - t.a, e2 = t.c - t.a;
        const sV3 p = d.cross(e2);
        const double det = e1.dot(p);
        if (std::fabs(det) < 1e-12)
            return false;
        const double inv = 1 / det;
        const sV3 s = o - t.a;
        const double u = s.dot(p) * inv;
        if (u < 0 || u > 1)
            return false;
        const sV3 q = s.cross(e1);
        const double v = d.dot(q) * inv;
        if (v < 0 || u + v > 1)
            return false;
        const double dist = e2.dot(q) * inv;
        return dist > 1e-4 && dist < tmax;
    }

    std::vector<sTri> m_tris;
    std::vector<int> m_order;
    std::vector<sNode> m_nodes;
};

sV3 vec_at(const std::vector<float>& a, int i) {
    return sV3(a[3 * i], a[3 * i + 1], a[3 * i + 2]);
}

// Concrete: the base colour with large soft blotches and fine grain.
sV3 concrete(const sV3& albedo, const sV3& p) {
    const double blotch = value_noise(p * (1 / 90.0)) * 0.6 + value_noise(p * (1 / 31.0)) * 0.4;
    const double grain = value_noise(p * (1 / 4.0));
    const double f = 0.8 + 0.3 * (blotch - 0.5) + 0.1 * (grain - 0.5) + 0.2;
    return albedo * f;
}

uint8_t to_byte(double v) {
    // A soft shoulder instead of hard clipping for the brightest texels.
    const double mapped = v < 0.8 ? v : 0.8 + 0.2 * (1 - std::exp(-(v - 0.8) / 0.2));
    return uint8_t(std::lround(std::clamp(mapped, 0.0, 1.0) * 255));
}

// Fills texels no triangle covered from their covered neighbours, ring by
// ring, so that filtering and mipmaps never reach unbaked black.
void dilate(int size, std::vector<double>* rgb, std::vector<uint8_t>* covered) {
    for (int pass = 0; pass < 16; ++pass) {
        std::vector<uint8_t> next = *covered;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                if ((*covered)[y * size + x])
                    continue;
                double sum[3] = {0, 0, 0};
                int n = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= size || ny >= size)
                            continue;
                        if (!(*covered)[ny * size + nx])
                            continue;
                        for (int c = 0; c < 3; ++c)
                            sum[c] += (*rgb)[3 * (ny * size + nx) + c];
                        ++n;
                    }
                if (n) {
                    for (int c = 0; c < 3; ++c)
                        (*rgb)[3 * (y * size + x) + c] = sum[c] / n;
                    next[y * size + x] = 1;
                }
            }
        *covered = next;
    }
    double mean[3] = {0, 0, 0};
    int n = 0;
    for (int i = 0; i < size * size; ++i)
        if ((*covered)[i]) {
            for (int c = 0; c < 3; ++c)
                mean[c] += (*rgb)[3 * i + c];
            ++n;
        }
    for (int i = 0; i < size * size; ++i)
        if (!(*covered)[i])
            for (int c = 0; c < 3; ++c)
                (*rgb)[3 * i + c] = n ? mean[c] / n : 0;
}
} // namespace

std::vector<sLightmapPair> bake_room(const std::vector<sRoomPart>& room,
                                     const sBakeSettings& settings) {
    VT_ASSERT(settings.m_size_divisor >= 1 && settings.m_ao_rays >= 1);
    std::vector<sTri> tris;
    for (const sRoomPart& part : room) {
        const sMeshData& m = part.m_mesh;
        for (std::size_t f = 0; f < m.face_count(); ++f) {
            // The bulb does not cast shadows of the light it gives.
            if (part.m_emissive[f])
                continue;
            tris.push_back({vec_at(m.m_pos, m.m_indices[3 * f]),
                            vec_at(m.m_pos, m.m_indices[3 * f + 1]),
                            vec_at(m.m_pos, m.m_indices[3 * f + 2])});
        }
    }
    const cOccluder occluder(std::move(tris));
    const sV3 lamp = room_lamp_position();
    const double lamp_radius = room_lamp_radius();
    const sV3 lamp_colour(1.0, 0.8, 0.58);
    const double lamp_power = 1.5 * 440 * 440;
    const sV3 sky_colour(0.78, 0.82, 0.9);
    const double bounce = 0.2;

    std::vector<sLightmapPair> maps;
    for (std::size_t p = 0; p < room.size(); ++p) {
        const sRoomPart& part = room[p];
        const sMeshData& m = part.m_mesh;
        const int size = std::max(4, part.m_map_size / settings.m_size_divisor);
        std::vector<double> off(3 * size * size, 0.0), on(3 * size * size, 0.0);
        std::vector<uint8_t> covered(size * size, 0);
        for (std::size_t f = 0; f < m.face_count(); ++f) {
            int idx[3];
            double tx[3], ty[3];
            for (int k = 0; k < 3; ++k) {
                idx[k] = m.m_indices[3 * f + k];
                tx[k] = m.m_tex0[2 * idx[k]] * size - 0.5;
                ty[k] = m.m_tex0[2 * idx[k] + 1] * size - 0.5;
            }
            const double area =
                (tx[1] - tx[0]) * (ty[2] - ty[0]) - (tx[2] - tx[0]) * (ty[1] - ty[0]);
            if (std::fabs(area) < 1e-12)
                continue;
            const sV3 pa = vec_at(m.m_pos, idx[0]), pb = vec_at(m.m_pos, idx[1]),
                      pc = vec_at(m.m_pos, idx[2]);
            const sV3 face_n = (pb - pa).cross(pc - pa).normalized();
            const int x0 = std::max(0, int(std::floor(std::min({tx[0], tx[1], tx[2]}))));
            const int x1 = std::min(size - 1, int(std::ceil(std::max({tx[0], tx[1], tx[2]}))));
            const int y0 = std::max(0, int(std::floor(std::min({ty[0], ty[1], ty[2]}))));
            const int y1 = std::min(size - 1, int(std::ceil(std::max({ty[0], ty[1], ty[2]}))));
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x) {
                    const double w1 =
                        ((x - tx[0]) * (ty[2] - ty[0]) - (tx[2] - tx[0]) * (y - ty[0])) / area;
                    const double w2 =
                        ((tx[1] - tx[0]) * (y - ty[0]) - (x - tx[0]) * (ty[1] - ty[0])) / area;
                    const double w0 = 1 - w1 - w2;
                    const double eps = -1e-6;
                    if (w0 < eps || w1 < eps || w2 < eps)
                        continue;
                    const int texel = y * size + x;
                    const sV3 pos = pa * w0 + pb * w1 + pc * w2;
                    sV3 n = (vec_at(m.m_norm, idx[0]) * w0 + vec_at(m.m_norm, idx[1]) * w1 +
                             vec_at(m.m_norm, idx[2]) * w2)
                                .normalized();
                    if (n.dot(face_n) < 0.2)
                        n = face_n;
                    const sV3 albedo = concrete(part.m_albedo, pos);
                    sV3 lit_off, lit_on;
                    if (part.m_emissive[f]) {
                        lit_off = albedo * 0.6;
                        lit_on = sV3(1.0, 0.96, 0.88) * 1.4;
                    } else {
                        const sV3 origin = pos + face_n * 0.6;
                        // Cosine-weighted hemisphere, stratified in its radius.
                        const sV3 e1 = (std::fabs(n.y) < 0.9 ? sV3(0, 1, 0) : sV3(1, 0, 0))
                                           .cross(n)
                                           .normalized();
                        const sV3 e2 = n.cross(e1);
                        sV3 sky;
                        const unsigned seed = unsigned(texel) * 7919u + unsigned(p) * 104729u;
                        for (int r = 0; r < settings.m_ao_rays; ++r) {
                            const double u1 =
                                (r + hash01(seed, unsigned(r), 1)) / settings.m_ao_rays;
                            const double u2 = hash01(seed, unsigned(r), 2);
                            const double rad = std::sqrt(u1), phi = 2 * PI * u2;
                            const sV3 d = (e1 * (rad * std::cos(phi)) + e2 * (rad * std::sin(phi)) +
                                           n * std::sqrt(std::max(0.0, 1 - u1)))
                                              .normalized();
                            if (d.dot(face_n) <= 0)
                                continue;
                            if (occluder.occluded(origin, d, 5000))
                                sky = sky + albedo * bounce;
                            else
                                sky = sky + sky_colour * (0.55 + 0.45 * std::max(d.y, 0.0));
                        }
                        sky = sky * (1.0 / settings.m_ao_rays);
                        sV3 direct;
                        for (int r = 0; r < settings.m_shadow_rays; ++r) {
                            const sV3 jitter(hash01(seed, unsigned(r), 3) - 0.5,
                                             hash01(seed, unsigned(r), 4) - 0.5,
                                             hash01(seed, unsigned(r), 5) - 0.5);
                            const sV3 q = lamp + jitter * (1.4 * lamp_radius);
                            const sV3 to = q - origin;
                            const double dist = to.length();
                            const sV3 l = to * (1 / dist);
                            const double cosine = n.dot(l);
                            if (cosine <= 0 || dist < 1e-3)
                                continue;
                            if (occluder.occluded(origin, l, dist))
                                continue;
                            direct =
                                direct + lamp_colour * (lamp_power * cosine / (dist * dist + 400));
                        }
                        direct = direct * (1.0 / std::max(1, settings.m_shadow_rays));
                        const sV3 ambient(sky.x * albedo.x, sky.y * albedo.y, sky.z * albedo.z);
                        lit_off = ambient * 1.0;
                        lit_on = ambient * 1.0 +
                                 sV3(direct.x * albedo.x, direct.y * albedo.y, direct.z * albedo.z);
                    }
                    const double o3[3] = {lit_off.x, lit_off.y, lit_off.z};
                    const double n3[3] = {lit_on.x, lit_on.y, lit_on.z};
                    for (int c = 0; c < 3; ++c) {
                        off[3 * texel + c] = o3[c];
                        on[3 * texel + c] = n3[c];
                    }
                    covered[texel] = 1;
                }
        }
        std::vector<uint8_t> covered_on = covered;
        dilate(size, &off, &covered);
        dilate(size, &on, &covered_on);
        sLightmapPair pair;
        pair.m_size = size;
        for (int i = 0; i < 3 * size * size; ++i) {
            pair.m_off.push_back(to_byte(off[i]));
            pair.m_on.push_back(to_byte(on[i]));
        }
        maps.push_back(std::move(pair));
    }
    return maps;
}
