// Procedural mesh building for the show's models: parametric grid patches
// (lathes, sweeps, tori, boxes) and an even-triangled sphere, built in double
// precision and written out as .bzobj mesh data. Every patch is also a chart
// of a lightmap atlas: pack_lightmap_charts gives the meshes that are baked
// texture coordinates with one non-overlapping region per patch.
#pragma once
#include "mesh_files/mesh_data.h"

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

struct sV3 {
    double x = 0, y = 0, z = 0;
    sV3() = default;
    sV3(double ax, double ay, double az) : x(ax), y(ay), z(az) {}
    sV3 operator+(const sV3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    sV3 operator-(const sV3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    sV3 operator*(double s) const { return {x * s, y * s, z * s}; }
    sV3 operator-() const { return {-x, -y, -z}; }
    double dot(const sV3& o) const { return x * o.x + y * o.y + z * o.z; }
    sV3 cross(const sV3& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    double length() const;
    sV3 normalized() const;
};

// Rotation of v about a unit axis by an angle in radians.
sV3 rotate(const sV3& v, const sV3& axis, double angle);

// A point and its surface normal, as a patch function returns them.
struct sSurfPoint {
    sV3 p;
    sV3 n;
};

// One rectangular chart of the lightmap atlas: the vertices of one patch,
// their patch coordinates (s, t) and the patch's size in world units.
struct sChart {
    int m_first_vertex = 0;
    int m_vertex_count = 0;
    double m_width = 0;  // along s
    double m_height = 0; // along t
};

class cMeshBuilder {
public:
    // A grid of ns x nt quads over (s, t) in [0, 1]^2. Triangles take the
    // winding that agrees with the returned normals; triangles that collapse
    // to a line (a lathe reaching its axis, a sweep ending in a point) are
    // left out, so closed surfaces stay closed. The patch becomes one chart.
    void grid(int ns, int nt, const std::function<sSurfPoint(double s, double t)>& fn);

    // A surface of revolution about the y axis through `base`: the profile
    // holds (radius, height) points; each run of points between hard corners
    // (indices in `corners`, the ends included implicitly) is one patch with
    // normals smoothed along the profile.
    void lathe(const sV3& base, const std::vector<std::pair<double, double>>& profile,
               const std::vector<int>& corners, int around);

    // A tube along a polyline with a radius per point, caps closing both ends
    // where the radius is not zero. Frames follow the path by parallel
    // transport, starting from `up`.
    // Long tubes are split into several charts of at most `chart_segments`
    // path segments each.
    void sweep(const std::vector<sV3>& path, const std::vector<double>& radius, int around,
               const sV3& up, bool caps = true, int chart_segments = 1 << 20);

    // A box between two corners, six patches.
    void box(const sV3& lo, const sV3& hi, int divisions = 1);

    // A torus about `axis` through `centre`.
    void torus(const sV3& centre, const sV3& axis, double major, double minor, int nmajor,
               int nminor);

    // A sphere of nearly equal triangles: rings of latitude whose vertex
    // counts follow the ring's circumference. Texture coordinates are
    // longitude (u, 0 to 1, seam duplicated) and latitude (v, 0 south to 1
    // north). Not a chart.
    void even_sphere(const sV3& centre, double radius, int rings);

    // Raw access for special shapes. vertex() snaps positions within a tiny
    // distance of an existing one onto it, so patches that meet share exact
    // positions.
    int vertex(const sV3& p, const sV3& n, double u, double v);
    void triangle(int a, int b, int c) { m_tri.insert(m_tri.end(), {a, b, c}); }

    // Moves everything added since `first_vertex` by a rotation about the
    // origin (axis, angle) and then a translation.
    void transform_since(int first_vertex, const sV3& axis, double angle, const sV3& offset);
    int vertex_count() const { return int(m_pos.size()); }

    // Replaces the texture coordinates with a packed lightmap atlas of
    // `size` x `size` texels: one region per chart, `padding` texels apart,
    // as large as fits. Returns the texels per world unit.
    double pack_lightmap_charts(int size, int padding);

    // The mesh with one material; `flags` picks the arrays that are written.
    sMeshData to_mesh(uint8_t flags, const cMaterial_data& material) const;

    const std::vector<sChart>& charts() const { return m_charts; }

private:
    std::vector<sV3> m_pos;
    std::vector<sV3> m_norm;
    std::vector<double> m_u, m_v;
    std::vector<int> m_tri;
    std::vector<sChart> m_charts;
    std::map<std::tuple<long long, long long, long long>, int> m_snap;
};

// A material for a model: a name, a diffuse colour (ambient a third of it),
// a specular grey and shininess, illumination model 2.
cMaterial_data make_material(const std::string& name, double r, double g, double b,
                             double opacity = 1.0, double specular = 0.3, double shininess = 30.0);

// Deterministic hash noise in [0, 1) and smooth value noise in [0, 1].
double hash01(unsigned a, unsigned b = 0, unsigned c = 0);
double value_noise(const sV3& p);
