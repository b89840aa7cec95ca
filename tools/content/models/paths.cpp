#include "paths.h"

#include "math/smoothstep.h"

#include <cmath>
#include <cstdio>
#include <functional>

namespace {
// Half linear, half eased: flights keep moving at their ends, where the
// scenes cut from one path to the next.
double gentle(double s) {
    return 0.5 * s + 0.5 * smoothstep(s);
}

sV3 lerp(const sV3& a, const sV3& b, double s) {
    return a + (b - a) * s;
}

sV3 bezier(const sV3& a, const sV3& b, const sV3& c, double s) {
    return a * ((1 - s) * (1 - s)) + b * (2 * s * (1 - s)) + c * (s * s);
}

// World up, made perpendicular to the view and turned by `roll` radians.
sV3 up_for(const sV3& eye, const sV3& target, double roll, const sV3& world_up = sV3(0, 1, 0)) {
    const sV3 view = (target - eye).normalized();
    const sV3 up = (world_up - view * world_up.dot(view)).normalized();
    return rotate(up, view, roll);
}

std::vector<sPathKey> sample(const std::function<sPathKey(double)>& key_at) {
    std::vector<sPathKey> keys;
    for (int k = 0; k < PATH_KEYS; ++k)
        keys.push_back(key_at(double(k) / (PATH_KEYS - 1)));
    return keys;
}

// A flight on a sphere about `centre`: azimuth about y from +z, elevation,
// distance and roll each move from their first to their second value.
struct sOrbit {
    double az0, az1, el0, el1, d0, d1, roll0, roll1;
};

sPathKey orbit_key(const sOrbit& o, const sV3& centre, double s) {
    const double e = gentle(s);
    const double az = o.az0 + (o.az1 - o.az0) * e;
    const double el = o.el0 + (o.el1 - o.el0) * e;
    const double d = o.d0 + (o.d1 - o.d0) * e;
    const sV3 eye =
        centre + sV3(std::cos(el) * std::sin(az), std::sin(el), std::cos(el) * std::cos(az)) * d;
    const sV3 target = centre + sV3(12 * std::sin(3 * s), 8 * std::sin(2 * s + 1), 0);
    return {eye, target, up_for(eye, target, o.roll0 + (o.roll1 - o.roll0) * e)};
}

// A room flight: the eye on a quadratic curve, the target on a line.
struct sDolly {
    sV3 e0, e1, e2, t0, t1;
};

sPathKey dolly_key(const sDolly& d, double s) {
    const double e = gentle(s);
    const sV3 eye = bezier(d.e0, d.e1, d.e2, e);
    const sV3 target = lerp(d.t0, d.t1, e);
    return {eye, target, up_for(eye, target, 0)};
}

std::string name_n(const char* pattern, int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, pattern, n);
    return buf;
}
} // namespace

std::string path_text(const std::vector<sPathKey>& keys) {
    std::string text;
    char line[256];
    // Renderer (x, y, z) is the file's (x, -z, y): the loader reads (x, y, z)
    // and keeps (x, z, -y).
    auto group = [&](const sV3& v) {
        std::snprintf(line, sizeof line, "[%.4f, %.4f, %.4f]", v.x, v.z == 0 ? 0.0 : -v.z, v.y);
        return std::string(line);
    };
    for (const sPathKey& k : keys)
        text += group(k.eye) + " " + group(k.target) + " " + group(k.up) + "\n";
    return text;
}

std::vector<sPathFile> build_paths() {
    std::vector<sPathFile> files;

    // ---- sprutte: the creature sits at the origin, arms reach 165 units,
    // the cage 210; the rings run along z.
    {
        // Path 1 opens the scene and is then held through the intro on the
        // loader's extra key: the turned copy of the last key. Choose that
        // framing and give the file its inverse as the last key.
        const sPathKey hold = {sV3(90, 70, 300), sV3(0, 0, 0), sV3(0, 1, 0)};
        const sPathKey last = {sV3(hold.eye.x, -hold.eye.z, hold.eye.y), sV3(0, 0, 0),
                               sV3(hold.up.x, -hold.up.z, hold.up.y)};
        const sV3 start(20, 60, 1500);
        const std::vector<sPathKey> keys = sample([&](double s) {
            // Rush in along the depth axis, then swing under the creature.
            const double e = smoothstep(s);
            const sV3 mid(150, 40, 420);
            const sV3 eye = bezier(start, mid, last.eye, e);
            const sV3 up = lerp(sV3(0, 1, 0), last.up, smoothstep((s - 0.4) / 0.6));
            return sPathKey{eye, sV3(0, 0, 0), up_for(eye, sV3(0, 0, 0), 0, up)};
        });
        files.push_back({"sprutte", "path01.pth", path_text(keys)});
    }
    const sOrbit sprutte_orbits[8] = {
        {0.0, 1.2, 0.3, 0.1, 260, 220, 0.0, 0.3},   {2.0, 2.9, -0.4, 0.2, 180, 150, 0.0, -0.2},
        {4.0, 3.2, 0.8, 0.5, 320, 280, 0.1, 0.0},   {1.0, 1.8, 0.0, -0.5, 140, 200, 0.5, -0.2},
        {5.5, 6.6, 0.2, 0.4, 240, 180, -0.3, 0.2},  {0.07, 0.2, 0.05, 0.12, 620, 210, 0.0, 0.6},
        {3.5, 2.6, -0.2, 0.3, 220, 300, -0.4, 0.0}, {0.6, -0.3, 1.1, 0.7, 260, 230, 0.0, 0.4},
    };
    for (int p = 0; p < 8; ++p) {
        const std::vector<sPathKey> keys =
            sample([&](double s) { return orbit_key(sprutte_orbits[p], sV3(), s); });
        files.push_back({"sprutte", name_n("path%02d.pth", p + 2), path_text(keys)});
    }

    // ---- credits room: floor at y 0, walls at +-900 up to 700, the ring
    // about (0, 250, 0), the lamp's shade at (330, 440, 280), columns at
    // (+-560, +-560).
    const sDolly cams[8] = {
        {{-650, 70, 520}, {-450, 80, 420}, {-260, 110, 330}, {0, 230, 0}, {0, 260, 0}},
        {{-164, 260, -451}, {-420, 260, -420}, {-451, 260, -164}, {0, 250, 0}, {0, 250, 0}},
        {{-450, 640, -450}, {-150, 640, -420}, {150, 600, -350}, {0, 0, -50}, {100, 60, 50}},
        {{110, 300, 620}, {110, 300, 50}, {110, 300, -520}, {60, 200, -900}, {60, 220, -900}},
        {{620, 330, 420}, {560, 380, 420}, {500, 420, 440}, {330, 430, 280}, {300, 320, 220}},
        {{-760, 120, -250}, {-760, 190, 0}, {-720, 260, 250}, {-560, 350, -560}, {0, 250, 0}},
        {{-600, 230, -640},
         {-80, 240, -650},
         {450, 260, -660},
         {-350, 130, -880},
         {700, 260, -880}},
        {{-760, 470, 720}, {-700, 420, 690}, {-640, 380, 640}, {0, 150, -185}, {80, 200, -100}},
    };
    for (int p = 0; p < 8; ++p) {
        const std::vector<sPathKey> keys = sample([&](double s) { return dolly_key(cams[p], s); });
        files.push_back({"credits", name_n("cam%02d.pth", p + 1), path_text(keys)});
    }
    {
        // Long flights of the credits with the sun (which hangs at (0, 150, 0)).
        const sOrbit around_ring = {-1.05, 2.1, 0.05, 0.3, 560, 520, 0.0, 0.0};
        files.push_back({"credits", "longpath01.pth", path_text(sample([&](double s) {
                             sPathKey k = orbit_key(around_ring, sV3(0, 200, 0), s);
                             k.up = up_for(k.eye, k.target, 0);
                             return k;
                         }))});
        const sDolly longs[3] = {
            {{-300, 40, 650}, {-350, 300, 600}, {-100, 620, 300}, {0, 150, 0}, {0, 0, -100}},
            {{-120, 330, 750},
             {-120, 330, -500},
             {300, 380, -650},
             {0, 200, -300},
             {330, 430, 280}},
            {{-700, 180, 700}, {-520, 200, 520}, {-300, 220, 300}, {0, 200, 0}, {200, 250, -200}},
        };
        for (int p = 0; p < 3; ++p)
            files.push_back({"credits", name_n("longpath%02d.pth", p + 2),
                             path_text(sample([&](double s) { return dolly_key(longs[p], s); }))});
    }
    return files;
}
