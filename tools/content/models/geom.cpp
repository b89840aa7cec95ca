#include "geom.h"

#include "debug.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {
const double PI = 3.14159265358979323846;
const double SNAP_CELL = 1e-4;
const double SNAP_DIST = 1e-6;

sV3 any_perpendicular(const sV3& a) {
    const sV3 helper = std::fabs(a.y) < 0.9 ? sV3(0, 1, 0) : sV3(1, 0, 0);
    return a.cross(helper).normalized();
}
} // namespace

double sV3::length() const {
    return std::sqrt(x * x + y * y + z * z);
}

sV3 sV3::normalized() const {
    const double l = length();
    return l > 0 ? *this * (1.0 / l) : sV3(0, 0, 0);
}

sV3 rotate(const sV3& v, const sV3& axis, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return v * c + axis.cross(v) * s + axis * (axis.dot(v) * (1 - c));
}

int cMeshBuilder::vertex(const sV3& p, const sV3& n, double u, double v) {
    const long long kx = std::llround(p.x / SNAP_CELL);
    const long long ky = std::llround(p.y / SNAP_CELL);
    const long long kz = std::llround(p.z / SNAP_CELL);
    sV3 snapped = p;
    bool found = false;
    for (long long dx = -1; dx <= 1 && !found; ++dx)
        for (long long dy = -1; dy <= 1 && !found; ++dy)
            for (long long dz = -1; dz <= 1 && !found; ++dz) {
                auto it = m_snap.find(std::make_tuple(kx + dx, ky + dy, kz + dz));
                if (it != m_snap.end() && (m_pos[it->second] - p).length() < SNAP_DIST) {
                    snapped = m_pos[it->second];
                    found = true;
                }
            }
    const int index = int(m_pos.size());
    if (!found)
        m_snap.emplace(std::make_tuple(kx, ky, kz), index);
    m_pos.push_back(snapped);
    m_norm.push_back(n.normalized());
    m_u.push_back(u);
    m_v.push_back(v);
    return index;
}

namespace {
// Adds a triangle unless it collapses, wound to agree with its normals.
void add_oriented(std::vector<int>* tri, const std::vector<sV3>& pos, const std::vector<sV3>& norm,
                  int a, int b, int c) {
    const sV3 face = (pos[b] - pos[a]).cross(pos[c] - pos[a]);
    const double scale = std::max(
        {(pos[b] - pos[a]).length(), (pos[c] - pos[a]).length(), (pos[c] - pos[b]).length()});
    if (face.length() <= 1e-9 * scale * scale)
        return;
    if (face.dot(norm[a] + norm[b] + norm[c]) < 0)
        std::swap(b, c);
    tri->insert(tri->end(), {a, b, c});
}
} // namespace

void cMeshBuilder::grid(int ns, int nt, const std::function<sSurfPoint(double, double)>& fn) {
    VT_ASSERT(ns > 0 && nt > 0);
    const int first = int(m_pos.size());
    for (int j = 0; j <= nt; ++j)
        for (int i = 0; i <= ns; ++i) {
            const double s = double(i) / ns, t = double(j) / nt;
            const sSurfPoint sp = fn(s, t);
            vertex(sp.p, sp.n, s, t);
        }
    auto at = [&](int i, int j) { return first + j * (ns + 1) + i; };
    for (int j = 0; j < nt; ++j)
        for (int i = 0; i < ns; ++i) {
            add_oriented(&m_tri, m_pos, m_norm, at(i, j), at(i + 1, j), at(i + 1, j + 1));
            add_oriented(&m_tri, m_pos, m_norm, at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    // The chart's extent: the longest of three iso-lines in each direction.
    sChart chart;
    chart.m_first_vertex = first;
    chart.m_vertex_count = (ns + 1) * (nt + 1);
    for (int k = 0; k <= 2; ++k) {
        const int j = k * nt / 2, i = k * ns / 2;
        double ls = 0, lt = 0;
        for (int a = 0; a < ns; ++a)
            ls += (m_pos[at(a + 1, j)] - m_pos[at(a, j)]).length();
        for (int a = 0; a < nt; ++a)
            lt += (m_pos[at(i, a + 1)] - m_pos[at(i, a)]).length();
        chart.m_width = std::max(chart.m_width, ls);
        chart.m_height = std::max(chart.m_height, lt);
    }
    m_charts.push_back(chart);
}

void cMeshBuilder::lathe(const sV3& base, const std::vector<std::pair<double, double>>& profile,
                         const std::vector<int>& corners, int around) {
    const int count = int(profile.size());
    VT_ASSERT(count >= 2);
    std::vector<int> cuts = {0};
    for (int c : corners)
        if (c > 0 && c < count - 1)
            cuts.push_back(c);
    cuts.push_back(count - 1);
    // Normal of segment k in the (radius, height) plane: the profile runs
    // counter-clockwise (out along the bottom, up, in along the top).
    auto seg_normal = [&](int k) {
        const double dr = profile[k + 1].first - profile[k].first;
        const double dh = profile[k + 1].second - profile[k].second;
        const double l = std::sqrt(dr * dr + dh * dh);
        return std::make_pair(dh / l, -dr / l);
    };
    for (std::size_t run = 0; run + 1 < cuts.size(); ++run) {
        const int k0 = cuts[run], k1 = cuts[run + 1];
        const int ns = k1 - k0;
        grid(ns, around, [&](double s, double t) {
            const int k = k0 + int(std::lround(s * ns));
            std::pair<double, double> n;
            if (k == k0)
                n = seg_normal(k0);
            else if (k == k1)
                n = seg_normal(k1 - 1);
            else {
                const auto a = seg_normal(k - 1), b = seg_normal(k);
                n = {a.first + b.first, a.second + b.second};
            }
            const double angle = 2 * PI * t;
            const double c = std::cos(angle), sn = std::sin(angle);
            const double r = profile[k].first;
            sSurfPoint sp;
            sp.p = base + sV3(r * c, profile[k].second, -r * sn);
            sp.n = sV3(n.first * c, n.second, -n.first * sn);
            return sp;
        });
    }
}

void cMeshBuilder::sweep(const std::vector<sV3>& path, const std::vector<double>& radius,
                         int around, const sV3& up, bool caps, int chart_segments) {
    const int n = int(path.size());
    VT_ASSERT(n >= 2 && int(radius.size()) == n);
    std::vector<sV3> tangent(n), normal(n), binormal(n);
    for (int i = 0; i < n; ++i)
        tangent[i] = (path[std::min(i + 1, n - 1)] - path[std::max(i - 1, 0)]).normalized();
    sV3 nrm = up - tangent[0] * up.dot(tangent[0]);
    nrm = nrm.length() > 1e-6 ? nrm.normalized() : any_perpendicular(tangent[0]);
    for (int i = 0; i < n; ++i) {
        nrm = (nrm - tangent[i] * nrm.dot(tangent[i])).normalized();
        normal[i] = nrm;
        binormal[i] = tangent[i].cross(nrm);
    }
    auto ring = [&](int i, double t) {
        const double angle = 2 * PI * t;
        return normal[i] * std::cos(angle) + binormal[i] * std::sin(angle);
    };
    for (int from = 0; from < n - 1; from += chart_segments) {
        const int segs = std::min(chart_segments, n - 1 - from);
        grid(segs, around, [&](double s, double t) {
            const int i = from + int(std::lround(s * segs));
            const sV3 radial = ring(i, t);
            const int a = std::max(i - 1, 0), b = std::min(i + 1, n - 1);
            const double slope = (radius[b] - radius[a]) / (path[b] - path[a]).length();
            return sSurfPoint{path[i] + radial * radius[i],
                              (radial - tangent[i] * slope).normalized()};
        });
    }
    if (!caps)
        return;
    for (int end : {0, n - 1}) {
        if (radius[end] <= 0)
            continue;
        const sV3 facing = end == 0 ? -tangent[0] : tangent[n - 1];
        grid(2, around, [&](double s, double t) {
            return sSurfPoint{path[end] + ring(end, t) * (radius[end] * s), facing};
        });
    }
}

void cMeshBuilder::box(const sV3& lo, const sV3& hi, int divisions) {
    const sV3 size = hi - lo;
    // Each face: origin corner, the two edge directions, the outward normal.
    struct sFace {
        sV3 o, a, b, n;
    };
    const sFace faces[6] = {
        {lo, {size.x, 0, 0}, {0, size.y, 0}, {0, 0, -1}},
        {{lo.x, lo.y, hi.z}, {size.x, 0, 0}, {0, size.y, 0}, {0, 0, 1}},
        {lo, {0, 0, size.z}, {0, size.y, 0}, {-1, 0, 0}},
        {{hi.x, lo.y, lo.z}, {0, 0, size.z}, {0, size.y, 0}, {1, 0, 0}},
        {lo, {size.x, 0, 0}, {0, 0, size.z}, {0, -1, 0}},
        {{lo.x, hi.y, lo.z}, {size.x, 0, 0}, {0, 0, size.z}, {0, 1, 0}},
    };
    for (const sFace& f : faces)
        grid(divisions, divisions, [&](double s, double t) {
            return sSurfPoint{f.o + f.a * s + f.b * t, f.n};
        });
}

void cMeshBuilder::torus(const sV3& centre, const sV3& axis, double major, double minor, int nmajor,
                         int nminor) {
    const sV3 ax = axis.normalized();
    const sV3 e1 = any_perpendicular(ax);
    const sV3 e2 = ax.cross(e1);
    grid(nmajor, nminor, [&](double s, double t) {
        const double a = 2 * PI * s, b = 2 * PI * t;
        const sV3 radial = e1 * std::cos(a) + e2 * std::sin(a);
        const sV3 n = radial * std::cos(b) + ax * std::sin(b);
        return sSurfPoint{centre + radial * major + n * minor, n};
    });
}

void cMeshBuilder::even_sphere(const sV3& centre, double radius, int rings) {
    VT_ASSERT(rings >= 2);
    std::vector<std::vector<int>> ring_vertices(rings + 1);
    std::vector<int> counts(rings + 1, 0);
    for (int k = 1; k < rings; ++k) {
        const double theta = PI * k / rings;
        counts[k] = std::max(3, int(std::lround(2 * rings * std::sin(theta))));
        for (int j = 0; j <= counts[k]; ++j) {
            const double u = double(j) / counts[k];
            const double phi = 2 * PI * u;
            const sV3 n(std::sin(theta) * std::cos(phi), std::cos(theta),
                        -std::sin(theta) * std::sin(phi));
            ring_vertices[k].push_back(vertex(centre + n * radius, n, u, 1 - double(k) / rings));
        }
    }
    // Pole caps: one pole vertex per triangle, at the middle of its span.
    for (int pole : {0, rings}) {
        const int k = pole == 0 ? 1 : rings - 1;
        const sV3 n(0, pole == 0 ? 1 : -1, 0);
        for (int j = 0; j < counts[k]; ++j) {
            const int p = vertex(centre + n * radius, n, (j + 0.5) / counts[k], pole == 0 ? 1 : 0);
            add_oriented(&m_tri, m_pos, m_norm, p, ring_vertices[k][j], ring_vertices[k][j + 1]);
        }
    }
    // Between rings: advance along whichever ring's next vertex comes first.
    for (int k = 1; k + 1 < rings; ++k) {
        const std::vector<int>& a = ring_vertices[k];
        const std::vector<int>& b = ring_vertices[k + 1];
        const int na = counts[k], nb = counts[k + 1];
        int i = 0, j = 0;
        while (i < na || j < nb) {
            const bool step_a = i < na && (j == nb || double(i + 1) / na <= double(j + 1) / nb);
            if (step_a) {
                add_oriented(&m_tri, m_pos, m_norm, a[i], a[i + 1], b[j]);
                ++i;
            } else {
                add_oriented(&m_tri, m_pos, m_norm, a[i], b[j + 1], b[j]);
                ++j;
            }
        }
    }
}

void cMeshBuilder::transform_since(int first_vertex, const sV3& axis, double angle,
                                   const sV3& offset) {
    const sV3 ax = axis.normalized();
    for (std::size_t i = first_vertex; i < m_pos.size(); ++i) {
        m_pos[i] = rotate(m_pos[i], ax, angle) + offset;
        m_norm[i] = rotate(m_norm[i], ax, angle);
    }
    // The snapping table no longer describes the moved vertices.
    m_snap.clear();
    for (std::size_t i = 0; i < m_pos.size(); ++i)
        m_snap.emplace(std::make_tuple(std::llround(m_pos[i].x / SNAP_CELL),
                                       std::llround(m_pos[i].y / SNAP_CELL),
                                       std::llround(m_pos[i].z / SNAP_CELL)),
                       int(i));
}

double cMeshBuilder::pack_lightmap_charts(int size, int padding) {
    VT_ASSERT(!m_charts.empty());
    double area = 0;
    for (const sChart& c : m_charts)
        area += (c.m_width + 1e-3) * (c.m_height + 1e-3);
    std::vector<int> order(m_charts.size());
    std::iota(order.begin(), order.end(), 0);
    double scale = size / std::sqrt(area);
    struct sRect {
        int x, y, w, h;
    };
    std::vector<sRect> rects(m_charts.size());
    for (;;) {
        std::vector<int> w(m_charts.size()), h(m_charts.size());
        for (std::size_t c = 0; c < m_charts.size(); ++c) {
            w[c] = std::max(2, int(std::ceil(m_charts[c].m_width * scale)));
            h[c] = std::max(2, int(std::ceil(m_charts[c].m_height * scale)));
        }
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return h[a] > h[b]; });
        int x = padding, y = padding, shelf = 0;
        bool fits = true;
        for (int c : order) {
            if (x + w[c] + padding > size) {
                x = padding;
                y += shelf + padding;
                shelf = 0;
            }
            if (x + w[c] + padding > size || y + h[c] + padding > size) {
                fits = false;
                break;
            }
            rects[c] = {x, y, w[c], h[c]};
            x += w[c] + padding;
            shelf = std::max(shelf, h[c]);
        }
        if (fits)
            break;
        scale *= 0.97;
    }
    for (std::size_t c = 0; c < m_charts.size(); ++c) {
        const sChart& chart = m_charts[c];
        const sRect& r = rects[c];
        for (int v = chart.m_first_vertex; v < chart.m_first_vertex + chart.m_vertex_count; ++v) {
            m_u[v] = (r.x + 0.5 + m_u[v] * (r.w - 1)) / size;
            m_v[v] = (r.y + 0.5 + m_v[v] * (r.h - 1)) / size;
        }
    }
    return scale;
}

sMeshData cMeshBuilder::to_mesh(uint8_t flags, const cMaterial_data& material) const {
    sMeshData mesh;
    mesh.m_flags = flags;
    for (std::size_t i = 0; i < m_pos.size(); ++i) {
        mesh.m_pos.insert(mesh.m_pos.end(),
                          {float(m_pos[i].x), float(m_pos[i].y), float(m_pos[i].z)});
        if (flags & MESH_HAS_NORMALS)
            mesh.m_norm.insert(mesh.m_norm.end(),
                               {float(m_norm[i].x), float(m_norm[i].y), float(m_norm[i].z)});
        if (flags & MESH_HAS_TEXCOORDS)
            mesh.m_tex0.insert(mesh.m_tex0.end(), {float(m_u[i]), float(m_v[i])});
    }
    mesh.m_indices.assign(m_tri.begin(), m_tri.end());
    mesh.m_matswitches = {0, int32_t(m_tri.size())};
    mesh.m_materials = {material};
    return mesh;
}

cMaterial_data make_material(const std::string& name, double r, double g, double b, double opacity,
                             double specular, double shininess) {
    cMaterial_data m(name);
    const float diffuse[4] = {float(r), float(g), float(b), 1.0f};
    for (int i = 0; i < 4; ++i) {
        m.m_diffuse[i] = diffuse[i];
        m.m_ambient[i] = i < 3 ? diffuse[i] / 3 : 1.0f;
        m.m_specular[i] = i < 3 ? float(specular) : 1.0f;
    }
    m.m_shininess = float(shininess);
    m.m_illum = 2;
    m.m_opacity = float(opacity);
    return m;
}

double hash01(unsigned a, unsigned b, unsigned c) {
    uint32_t h =
        a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / double(0x1000000);
}

double value_noise(const sV3& p) {
    const double fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    const double tx = p.x - fx, ty = p.y - fy, tz = p.z - fz;
    auto smooth = [](double t) { return t * t * (3 - 2 * t); };
    const double sx = smooth(tx), sy = smooth(ty), sz = smooth(tz);
    auto corner = [&](int dx, int dy, int dz) {
        return hash01(unsigned(long(fx) + dx), unsigned(long(fy) + dy), unsigned(long(fz) + dz));
    };
    auto lerp = [](double a, double b, double t) { return a + (b - a) * t; };
    const double x00 = lerp(corner(0, 0, 0), corner(1, 0, 0), sx);
    const double x10 = lerp(corner(0, 1, 0), corner(1, 1, 0), sx);
    const double x01 = lerp(corner(0, 0, 1), corner(1, 0, 1), sx);
    const double x11 = lerp(corner(0, 1, 1), corner(1, 1, 1), sx);
    return lerp(lerp(x00, x10, sy), lerp(x01, x11, sy), sz);
}
