#include "models.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace {
const double PI = 3.14159265358979323846;
const uint8_t FLAGS_ALL = MESH_HAS_TEXCOORDS | MESH_HAS_NORMALS | MESH_DRAW_BY_MATERIAL;

// Point on a circle in the plane spanned by a and b.
sV3 circle(const sV3& centre, const sV3& a, const sV3& b, double radius, double angle) {
    return centre + a * (radius * std::cos(angle)) + b * (radius * std::sin(angle));
}

// The polyline with its long segments cut into pieces no longer than `step`.
std::vector<sV3> subdivide(const std::vector<sV3>& path, double step) {
    std::vector<sV3> out = {path.front()};
    for (std::size_t i = 1; i < path.size(); ++i) {
        const int pieces = std::max(1, int(std::ceil((path[i] - path[i - 1]).length() / step)));
        for (int k = 1; k <= pieces; ++k)
            out.push_back(path[i - 1] + (path[i] - path[i - 1]) * (double(k) / pieces));
    }
    return out;
}

// A closed polyhedron with one flat normal per face; faces are triangles of
// the vertex list, wound by the builder to face away from `centre`.
void add_flat_polyhedron(cMeshBuilder* mb, const sV3& centre, const std::vector<sV3>& verts,
                         const std::vector<int>& faces) {
    for (std::size_t f = 0; f + 2 < faces.size(); f += 3) {
        const sV3 &a = verts[faces[f]], &b = verts[faces[f + 1]], &c = verts[faces[f + 2]];
        sV3 n = (b - a).cross(c - a).normalized();
        if (n.dot((a + b + c) * (1.0 / 3) - centre) < 0)
            n = -n;
        const int ia = mb->vertex(a, n, 0, 0);
        const int ib = mb->vertex(b, n, 1, 0);
        const int ic = mb->vertex(c, n, 0, 1);
        if ((b - a).cross(c - a).dot(n) >= 0)
            mb->triangle(ia, ib, ic);
        else
            mb->triangle(ia, ic, ib);
    }
}

// The twelve vertices and twenty faces of an icosahedron of circumradius 1.
void icosahedron(std::vector<sV3>* verts, std::vector<int>* faces) {
    const double p = (1 + std::sqrt(5.0)) / 2;
    const double raw[12][3] = {{-1, p, 0}, {1, p, 0}, {-1, -p, 0}, {1, -p, 0},
                               {0, -1, p}, {0, 1, p}, {0, -1, -p}, {0, 1, -p},
                               {p, 0, -1}, {p, 0, 1}, {-p, 0, -1}, {-p, 0, 1}};
    verts->clear();
    for (const auto& r : raw)
        verts->push_back(sV3(r[0], r[1], r[2]).normalized());
    *faces = {0, 11, 5,  0, 5,  1, 0, 1, 7, 0, 7,  10, 0, 10, 11, 1, 5, 9, 5, 11,
              4, 11, 10, 2, 10, 7, 6, 7, 1, 8, 3,  9,  4, 3,  4,  2, 3, 2, 6, 3,
              6, 8,  3,  8, 9,  4, 9, 5, 2, 4, 11, 6,  2, 10, 8,  6, 7, 9, 8, 1};
}

// A rough rock: an icosahedron with hashed vertex radii.
void add_chunk(cMeshBuilder* mb, const sV3& centre, double size, unsigned seed) {
    std::vector<sV3> verts;
    std::vector<int> faces;
    icosahedron(&verts, &faces);
    const sV3 axis = sV3(hash01(seed, 1) - 0.5, hash01(seed, 2) - 0.5, hash01(seed, 3) - 0.5);
    const double angle = hash01(seed, 4) * 2 * PI;
    for (std::size_t i = 0; i < verts.size(); ++i) {
        const double r = size * (0.65 + 0.6 * hash01(seed, 10 + unsigned(i)));
        verts[i] = rotate(verts[i], axis.normalized(), angle) * r + centre;
    }
    add_flat_polyhedron(mb, centre, verts, faces);
}

// ---- attractor scene logo ------------------------------------------------

sMeshData logo_cubes() {
    cMeshBuilder mb;
    // Seven cubes along a "V", alternately in front of and behind the plane.
    const double e = 0.21;
    for (int i = 0; i < 7; ++i) {
        const double s = (i - 3) / 3.0;
        const sV3 c(s * 1.0, 1.0 - 2.0 * (1 - std::fabs(s)), (i % 2 ? 0.25 : -0.25));
        mb.box(c - sV3(e, e, e), c + sV3(e, e, e));
    }
    return mb.to_mesh(FLAGS_ALL, make_material("logo_cubes", 0.16, 0.16, 0.16));
}

sMeshData logo_arrow() {
    cMeshBuilder mb;
    // A circular arrow around the cubes, turning in its own plane.
    const double radius = 1.72, start = 0.35, end = 2 * PI - 0.55;
    std::vector<sV3> arc;
    std::vector<double> r;
    for (int i = 0; i <= 48; ++i) {
        const double a = start + (end - start) * i / 48;
        arc.push_back(circle(sV3(), sV3(1, 0, 0), sV3(0, 1, 0), radius, a));
        r.push_back(0.11);
    }
    mb.sweep(arc, r, 10, sV3(0, 0, 1));
    std::vector<sV3> head;
    std::vector<double> hr;
    for (int i = 0; i <= 6; ++i) {
        const double a = end + 0.38 * i / 6;
        head.push_back(circle(sV3(), sV3(1, 0, 0), sV3(0, 1, 0), radius, a));
        hr.push_back(0.3 * (1 - i / 6.0));
    }
    mb.sweep(head, hr, 10, sV3(0, 0, 1));
    return mb.to_mesh(FLAGS_ALL, make_material("logo_arrow", 0.16, 0.16, 0.16));
}

// ---- sun -------------------------------------------------------------------

const double SUN_RADIUS = 14.0;

sMeshData sun() {
    cMeshBuilder mb;
    mb.even_sphere(sV3(), SUN_RADIUS, 44);
    // Poles on the z axis, about which the scenes turn the sun.
    mb.transform_since(0, sV3(1, 0, 0), PI / 2, sV3());
    cMaterial_data m = make_material("sun", 1.0, 0.8, 0.5, 1.0, 0.0, 1.0);
    m.m_texnames[MATTEX_DIFFUSE] = "sun_diffuse.jpg";
    return mb.to_mesh(FLAGS_ALL, m);
}

sMeshData sunflare() {
    cMeshBuilder mb;
    // An arc leaving the surface near the +z pole and landing again: three
    // ribbons crossed at 60 degrees around the arc's tangent, u along the arc
    // (0 at the thick root), v across each ribbon.
    const double half_angle = 0.42, height = 8.0;
    auto centre_at = [&](double s) {
        const double a = -half_angle + 2 * half_angle * s;
        const double lift = height * std::pow(std::sin(PI * s), 0.8) * (1.0 - 0.25 * s);
        const double r = SUN_RADIUS * 0.97 + lift;
        return sV3(0.6 * std::sin(2 * PI * s), r * std::sin(a), r * std::cos(a));
    };
    for (int k = 0; k < 3; ++k) {
        mb.grid(40, 2, [&](double s, double t) {
            const double ds = 1e-3;
            const sV3 tangent =
                (centre_at(std::min(s + ds, 1.0)) - centre_at(std::max(s - ds, 0.0))).normalized();
            const sV3 side0 = sV3(1, 0, 0) - tangent * tangent.x;
            const sV3 side = rotate(side0.normalized(), tangent, k * PI / 3);
            const double width =
                2.6 * (1.0 - 0.6 * s) * (0.45 + 0.55 * std::sin(PI * (0.1 + 0.8 * s)));
            return sSurfPoint{centre_at(s) + side * ((t - 0.5) * width), tangent.cross(side)};
        });
    }
    return mb.to_mesh(FLAGS_ALL, make_material("sunflare", 1.0, 0.7, 0.3, 1.0, 0.0, 1.0));
}

// ---- sprutte -----------------------------------------------------------------

// One sixth of an arm segment: a bulging, slightly twisted lobe beside the
// segment's axis (y, from 0 to 5). `twist` and `bulge` shape the variants.
sMeshData arm_lobe(const std::string& name, double twist, double bulge, double offset) {
    cMeshBuilder mb;
    std::vector<sV3> path;
    std::vector<double> r;
    for (int i = 0; i <= 8; ++i) {
        const double s = i / 8.0;
        const double a = twist * s;
        path.push_back(sV3(offset * std::cos(a), 5.2 * s - 0.1, offset * std::sin(a)));
        r.push_back(1.05 * (0.75 + bulge * std::sin(PI * s)));
    }
    mb.sweep(path, r, 10, sV3(1, 0, 0));
    return mb.to_mesh(FLAGS_ALL, make_material(name, 0.35, 0.62, 1.0, 1.0, 0.6, 40));
}

sMeshData sprutte_hair() {
    cMeshBuilder mb;
    for (unsigned i = 0; i < 150; ++i) {
        // Directions spread evenly by a spiral, lengths hashed.
        const double y = 1 - 2 * (i + 0.5) / 150;
        const double phi = i * PI * (3 - std::sqrt(5.0));
        const sV3 dir(std::sqrt(1 - y * y) * std::cos(phi), y,
                      std::sqrt(1 - y * y) * std::sin(phi));
        const double length = 10 + 18 * hash01(i, 77);
        const sV3 bend = dir.cross(sV3(0.3, 0.8, 0.5)).normalized();
        std::vector<sV3> path;
        std::vector<double> r;
        for (int k = 0; k <= 4; ++k) {
            const double s = k / 4.0;
            path.push_back(dir * (3 + length * s) + bend * (2.5 * s * s));
            r.push_back(0.45 * (1 - s));
        }
        mb.sweep(path, r, 5, bend);
    }
    return mb.to_mesh(FLAGS_ALL, make_material("sprutte_hair", 0.55, 0.8, 1.0, 1.0, 0.5, 20));
}

sMeshData sprutte_ball_glow() {
    cMeshBuilder mb;
    mb.even_sphere(sV3(), 7.0, 20);
    return mb.to_mesh(FLAGS_ALL, make_material("sprutte_glow", 0.5, 0.78, 1.0, 0.75, 0.8, 10));
}

sMeshData sprutte_cage() {
    cMeshBuilder mb;
    // Struts along the edges of a twice subdivided icosahedron.
    std::vector<sV3> verts;
    std::vector<int> faces;
    icosahedron(&verts, &faces);
    std::vector<std::pair<int, int>> edges;
    std::map<std::pair<int, int>, int> midpoint;
    auto mid = [&](int a, int b) {
        const auto key = std::make_pair(std::min(a, b), std::max(a, b));
        auto it = midpoint.find(key);
        if (it != midpoint.end())
            return it->second;
        verts.push_back((verts[a] + verts[b]).normalized());
        midpoint[key] = int(verts.size()) - 1;
        return int(verts.size()) - 1;
    };
    std::vector<int> finer;
    for (std::size_t f = 0; f < faces.size(); f += 3) {
        const int a = faces[f], b = faces[f + 1], c = faces[f + 2];
        const int ab = mid(a, b), bc = mid(b, c), ca = mid(c, a);
        finer.insert(finer.end(), {a, ab, ca, b, bc, ab, c, ca, bc, ab, bc, ca});
    }
    std::map<std::pair<int, int>, bool> seen;
    const double radius = 300;
    for (std::size_t f = 0; f < finer.size(); f += 3)
        for (int e = 0; e < 3; ++e) {
            const int a = finer[f + e], b = finer[f + (e + 1) % 3];
            const auto key = std::make_pair(std::min(a, b), std::max(a, b));
            if (seen[key])
                continue;
            seen[key] = true;
            // Each strut bows outwards a little, like a bent wire.
            std::vector<sV3> path;
            std::vector<double> r;
            for (int k = 0; k <= 4; ++k) {
                const double s = k / 4.0;
                const sV3 p = verts[key.first] * (1 - s) + verts[key.second] * s;
                path.push_back(p.normalized() * radius);
                r.push_back(2.2);
            }
            mb.sweep(path, r, 6, verts[key.first]);
        }
    return mb.to_mesh(FLAGS_ALL, make_material("sprutte_cage", 0.45, 0.55, 0.75, 1.0, 0.8, 60));
}

sMeshData sprutte_ring() {
    cMeshBuilder mb;
    // A broad ring about the depth axis with a thin companion ring.
    mb.torus(sV3(), sV3(0, 0, 1), 520, 22, 120, 12);
    mb.torus(sV3(0, 0, 60), sV3(0, 0, 1), 560, 7, 120, 8);
    for (int i = 0; i < 24; ++i) {
        const double a = 2 * PI * i / 24;
        const sV3 dir(std::cos(a), std::sin(a), 0);
        std::vector<sV3> path = {dir * 536, dir * 575};
        mb.sweep(path, {9.0, 5.0}, 8, sV3(0, 0, 1));
    }
    return mb.to_mesh(FLAGS_ALL, make_material("sprutte_ring", 0.7, 0.75, 0.85));
}

sMeshData sprutte_debris() {
    cMeshBuilder mb;
    for (unsigned i = 0; i < 80; ++i) {
        const double a = 2 * PI * hash01(i, 5);
        const double d = 270 + 650 * hash01(i, 6);
        const double z = -7000 + 14000 * (i + hash01(i, 7)) / 80;
        add_chunk(&mb, sV3(d * std::cos(a), d * std::sin(a), z), 9 + 30 * hash01(i, 8), i);
    }
    return mb.to_mesh(FLAGS_ALL, make_material("sprutte_vrag", 0.8, 0.7, 0.5));
}

// ---- credits room ------------------------------------------------------------

const double ROOM_HALF = 900;
const double ROOM_HEIGHT = 700;
const sV3 RING_CENTRE(0, 250, 0);
const sV3 LAMP_BASE(330, 0, 280);
const double BULB_HEIGHT = 440;

sRoomPart room_part(const std::string& name, const std::string& stem, int size, cMeshBuilder* mb,
                    const sV3& albedo, int emissive_from = -1) {
    sRoomPart part;
    part.m_name = name;
    part.m_map_stem = stem;
    part.m_map_size = size;
    part.m_albedo = albedo;
    mb->pack_lightmap_charts(size, 4);
    part.m_mesh = mb->to_mesh(FLAGS_ALL, make_material(stem, albedo.x, albedo.y, albedo.z));
    const std::size_t faces = part.m_mesh.face_count();
    part.m_emissive.assign(faces, 0);
    if (emissive_from >= 0)
        for (std::size_t f = std::size_t(emissive_from); f < faces; ++f)
            part.m_emissive[f] = 1;
    return part;
}

} // namespace

sV3 room_lamp_position() {
    return LAMP_BASE + sV3(0, BULB_HEIGHT, 0);
}

double room_lamp_radius() {
    return 12.0;
}

std::vector<sRoomPart> build_room() {
    std::vector<sRoomPart> room;
    {
        // A ring standing on a low block in the middle of the room.
        cMeshBuilder mb;
        mb.torus(RING_CENTRE, sV3(0, 0, 1), 200, 24, 64, 12);
        mb.box(sV3(-90, 0, -45), sV3(90, 27, 45));
        room.push_back(
            room_part("centerring.bzobj", "CenterRing", 256, &mb, sV3(0.72, 0.71, 0.69)));
    }
    {
        // Floor and four walls, open to the sky; the walls face inwards.
        cMeshBuilder mb;
        const double h = ROOM_HALF, top = ROOM_HEIGHT;
        mb.grid(4, 4, [&](double s, double t) {
            return sSurfPoint{sV3(-h + 2 * h * s, 0, -h + 2 * h * t), sV3(0, 1, 0)};
        });
        for (int w = 0; w < 4; ++w) {
            const double a = w * PI / 2;
            const sV3 out(std::cos(a), 0, std::sin(a));
            const sV3 along(-std::sin(a), 0, std::cos(a));
            mb.grid(4, 2, [&](double s, double t) {
                return sSurfPoint{out * h + along * (-h + 2 * h * s) + sV3(0, top * t, 0), -out};
            });
        }
        room.push_back(room_part("floor.bzobj", "Floor", 512, &mb, sV3(0.66, 0.65, 0.63)));
    }
    int bulb_faces = 0;
    cMeshBuilder lamp;
    {
        // A standing lamp: foot, pole, a shade open downwards, the bulb.
        const int around = 24;
        // An arc lamp: the foot stands aside, the pole bends over the shade.
        const sV3 foot = LAMP_BASE + sV3(-170, 0, 0);
        lamp.lathe(foot, {{0, 0}, {55, 0}, {55, 7}, {44, 13}, {0, 15}}, {1, 2, 3}, around);
        std::vector<sV3> pole = {foot + sV3(0, 14, 0)};
        for (int k = 0; k <= 12; ++k) {
            const double a = PI / 2 * k / 12;
            pole.push_back(foot + sV3(90 - 90 * std::cos(a), 520 + 90 * std::sin(a), 0));
        }
        for (int k = 1; k <= 8; ++k) {
            const double a = PI / 2 * k / 8;
            pole.push_back(LAMP_BASE + sV3(-40 + 40 * std::sin(a), 570 + 40 * std::cos(a), 0));
        }
        pole.push_back(LAMP_BASE + sV3(0, 473, 0));
        lamp.sweep(pole, std::vector<double>(pole.size(), 4.5), 10, sV3(0, 0, 1));
        lamp.lathe(LAMP_BASE + sV3(0, 400, 0),
                   {{0, 70}, {16, 68}, {40, 40}, {68, 2}, {72, 0}, {47, 38}, {20, 72}, {0, 75}},
                   {1, 3, 4, 6}, around);
        bulb_faces = int(lamp.to_mesh(0, cMaterial_data()).face_count());
        std::vector<std::pair<double, double>> bulb;
        for (int i = 0; i <= 10; ++i) {
            const double a = -PI / 2 + PI * i / 10;
            bulb.push_back({room_lamp_radius() * std::cos(a), room_lamp_radius() * std::sin(a)});
        }
        bulb.front().first = 0;
        bulb.back().first = 0;
        lamp.lathe(room_lamp_position(), bulb, {}, around);
    }
    room.push_back(
        room_part("lamp.bzobj", "Lamp05", 256, &lamp, sV3(0.35, 0.34, 0.33), bulb_faces));
    {
        // Three pipes along the back wall that turn up at its right end, a
        // fourth along the left wall, with flanges.
        cMeshBuilder mb;
        for (int p = 0; p < 3; ++p) {
            const double y = 80 + 45 * p, z = -ROOM_HALF + 30 + 4 * p;
            const double bend_x = 640 - 45 * p, bend_r = 60;
            std::vector<sV3> path = {sV3(-ROOM_HALF - 5, y, z)};
            for (int k = 0; k <= 8; ++k) {
                const double a = PI / 2 * k / 8;
                path.push_back(sV3(bend_x - bend_r + bend_r * std::sin(a),
                                   y + bend_r - bend_r * std::cos(a), z));
            }
            path.push_back(sV3(bend_x, ROOM_HEIGHT + 5, z));
            path = subdivide(path, 120);
            mb.sweep(path, std::vector<double>(path.size(), 13.0), 12, sV3(0, 0, 1), true, 3);
            for (double x = -700; x < bend_x - 100; x += 300)
                mb.sweep({sV3(x, y, z), sV3(x + 10, y, z)}, {18.0, 18.0}, 12, sV3(0, 1, 0));
        }
        std::vector<sV3> side = {sV3(-ROOM_HALF + 28, 230, -ROOM_HALF - 5),
                                 sV3(-ROOM_HALF + 28, 230, ROOM_HALF + 5)};
        side = subdivide(side, 120);
        mb.sweep(side, std::vector<double>(side.size(), 20.0), 14, sV3(0, 1, 0), true, 3);
        room.push_back(room_part("pipe.bzobj", "Pipe11", 256, &mb, sV3(0.55, 0.5, 0.45)));
    }
    {
        // Four columns: square-ish foot, shaft, capital.
        cMeshBuilder mb;
        const std::vector<std::pair<double, double>> profile = {
            {0, 0},    {52, 0},   {52, 22},  {40, 32},          {36, 38},
            {36, 640}, {46, 656}, {58, 676}, {58, ROOM_HEIGHT}, {0, ROOM_HEIGHT}};
        for (int c = 0; c < 4; ++c) {
            const sV3 base((c % 2 ? 1 : -1) * 560.0, 0, (c / 2 ? 1 : -1) * 560.0);
            mb.lathe(base, profile, {1, 2, 3, 4, 5, 6, 7, 8}, 20);
        }
        room.push_back(room_part("soejle.bzobj", "Soejle03", 256, &mb, sV3(0.7, 0.69, 0.67)));
    }
    return room;
}

std::vector<sModelFile> build_models() {
    std::vector<sModelFile> files;
    files.push_back({"vantrel_intro", "logo_arrow.bzobj", logo_arrow()});
    files.push_back({"vantrel_intro", "logo_cubes.bzobj", logo_cubes()});
    files.push_back({"sunflare", "sun.bzobj", sun()});
    files.push_back({"sunflare", "sunflare.bzobj", sunflare()});
    files.push_back({"sprutte", "sprutte_ball_glow.bzobj", sprutte_ball_glow()});
    files.push_back(
        {"sprutte", "sprutte_arm_joint.bzobj", arm_lobe("sprutte_arm", 0.5, 0.35, 1.7)});
    files.push_back({"sprutte", "sprutte_hair.bzobj", sprutte_hair()});
    files.push_back(
        {"sprutte", "sprutte_arm_joint_morph_in.bzobj", arm_lobe("sprutte_arm_in", 0.2, 0.1, 1.3)});
    files.push_back({"sprutte", "sprutte_arm_joint_morph_out.bzobj",
                     arm_lobe("sprutte_arm_out", 0.9, 0.6, 2.1)});
    files.push_back({"sprutte", "sprutte_cage2.bzobj", sprutte_cage()});
    files.push_back({"sprutte", "sprutte_ring.bzobj", sprutte_ring()});
    files.push_back({"sprutte", "sprutte_vrag.bzobj", sprutte_debris()});
    for (sRoomPart& part : build_room())
        files.push_back({"credits", part.m_name, std::move(part.m_mesh)});
    {
        cMeshBuilder mb;
        mb.even_sphere(RING_CENTRE, 58, 24);
        files.push_back({"credits", "credit_sphere.bzobj",
                         mb.to_mesh(FLAGS_ALL, make_material("credit_sphere", 0.8, 0.8, 0.8))});
    }
    // Debris shadows: flat blobs just above the floor in three nested layers
    // (each darkens by a quarter, so the core is darkest). The scene moves
    // debris k by (1200 + 100 k, 200, z) with z sliding over 0 .. 500 k; the
    // offsets below bring each onto the floor, centred on its slide.
    const double world_x[5] = {-400, -250, 120, -60, 300};
    for (int d = 0; d < 5; ++d) {
        cMeshBuilder mb;
        const int k = d; // debris file d+1 is drawn as the scene's debris k
        const sV3 centre(world_x[d] - 1200 - 100 * k, 1.5 - 200, -250.0 * std::max(k, 1));
        const double size = 55 + 30 * hash01(unsigned(d), 40);
        const int corners = 9 + int(5 * hash01(unsigned(d), 41));
        for (int layer = 0; layer < 3; ++layer) {
            const double scale = 1.0 - 0.25 * layer;
            const sV3 up(0, 1, 0);
            const int c = mb.vertex(centre + sV3(0, 0.2 * layer, 0), up, 0.5, 0.5);
            std::vector<int> rim;
            for (int i = 0; i < corners; ++i) {
                const double a = 2 * PI * i / corners;
                const double r =
                    size * scale * (0.55 + 0.45 * hash01(unsigned(d), 50 + unsigned(i)));
                rim.push_back(mb.vertex(centre + sV3(r * std::cos(a), 0.2 * layer, r * std::sin(a)),
                                        up, 0.5 + 0.5 * std::cos(a), 0.5 + 0.5 * std::sin(a)));
            }
            for (int i = 0; i < corners; ++i)
                mb.triangle(c, rim[(i + 1) % corners], rim[i]);
        }
        char name[32];
        std::snprintf(name, sizeof name, "creditrum_vrag%02d.bzobj", d + 1);
        files.push_back({"credits", name,
                         mb.to_mesh(FLAGS_ALL, make_material("creditrum_vrag", 0.1, 0.1, 0.1))});
    }
    return files;
}
