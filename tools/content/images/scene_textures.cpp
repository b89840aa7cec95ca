// The scenes' pictures: the attractor background, the sun and its flares,
// and the two colour-correction lookups.
#include "generators.h"
#include "noise.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace imagegen {

namespace {

sColor rgb(double r, double g, double b, double a = 1.0) {
    return {float(r), float(g), float(b), float(a)};
}

// A colour ramp through evenly spaced stops, t in 0..1.
sColor ramp(std::initializer_list<sColor> stops, double t) {
    const std::vector<sColor> s(stops);
    const double position = std::clamp(t, 0.0, 1.0) * double(s.size() - 1);
    const std::size_t i = std::min(std::size_t(position), s.size() - 2);
    return mix(s[i], s[i + 1], float(position - double(i)));
}

// Density of an iterated function system (a chaos game of three affine
// maps: one turning contraction that winds the points into a spiral and
// two small copies that seed its arms), in image pixels.
cPlane ifs_density(int width, int height) {
    struct sMap {
        double a, b, c, d, e, f, weight;
    };
    const double turn = 0.42, shrink = 0.83;
    const sMap maps[] = {
        {shrink * std::cos(turn), -shrink * std::sin(turn), shrink * std::sin(turn),
         shrink * std::cos(turn), 0.08, 0.03, 0.80},
        {0.30, -0.04, 0.04, 0.30, -0.62, 0.28, 0.10},
        {0.26, 0.09, -0.09, 0.26, 0.55, -0.40, 0.10},
    };
    cPlane density(width, height);
    cNoiseRng rng(20260417u);
    double x = 0.0, y = 0.0;
    const double scale = height * 0.36, cx = width * 0.40, cy = height * 0.50;
    for (int i = 0; i < 1500000; ++i) {
        double pick = rng.uniform();
        const sMap* m = &maps[0];
        for (const sMap& candidate : maps) {
            m = &candidate;
            if (pick < candidate.weight)
                break;
            pick -= candidate.weight;
        }
        const double nx = m->a * x + m->b * y + m->e, ny = m->c * x + m->d * y + m->f;
        x = nx;
        y = ny;
        if (i < 32)
            continue; // let the orbit settle onto the attractor first
        const int px = int(cx + x * scale * 1.25), py = int(cy + y * scale);
        if (px >= 0 && py >= 0 && px < width && py < height)
            density.at(px, py) += 1.0f;
    }
    return density;
}

} // namespace

cImage make_ifs_back() {
    const int w = 1024, h = 640;
    cPlane structure = ifs_density(w, h);
    const float peak = structure.max_value();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            structure.at(x, y) = float(std::log1p(structure.at(x, y)) / std::log1p(peak));
    cPlane fine = structure, wide = structure;
    fine.blur(1);
    wide.blur(14);

    cImage image(w, h, 3);
    const sColor deep = rgb(0.015, 0.012, 0.045), violet = rgb(0.20, 0.07, 0.34),
                 blue = rgb(0.10, 0.16, 0.42), haze = rgb(0.62, 0.52, 0.95);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double px = x / double(h) * 2.4, py = y / double(h) * 2.4;
            // Domain-warped clouds: fbm sampled through two other fbm fields.
            const double qx = fbm(px, py, 11, 5), qy = fbm(px + 5.2, py + 1.3, 12, 5);
            const double f = fbm(px + 3.0 * qx, py + 3.0 * qy, 13, 6);
            const double cloud = smoothstep(0.25, 0.80, f);
            sColor c = mix(deep, violet, float(cloud * 0.9));
            c = mix(c, blue, float(smoothstep(0.45, 0.8, qy) * 0.55 * cloud));
            const double glow = 1.6 * wide.at(x, y) + 0.55 * fine.at(x, y) * fine.at(x, y);
            c = mix(c, haze, float(std::min(glow * 0.45, 0.6)));
            // A faint light behind the logo model, which turns at 0.8125 of the width.
            const double lx = (x - 0.8125 * w) / h, ly = (y - 0.5 * h) / h;
            const double lamp = std::exp(-(lx * lx + ly * ly) / 0.03) * 0.20;
            // Darker towards the corners.
            const double vx = (x + 0.5) / w - 0.5, vy = (y + 0.5) / h - 0.5;
            const double vignette = 1.0 - 0.9 * (vx * vx + vy * vy);
            image.at(x, y) = {float((c.r + lamp * 0.7) * vignette),
                              float((c.g + lamp * 0.6) * vignette),
                              float((c.b + lamp * 1.0) * vignette), 1.0f};
        }
    return image;
}

cImage make_sun_diffuse() {
    // Longitude along x, latitude along y; the noise repeats across the
    // left and right edges so that the sphere has no seam.
    const int w = 512, h = 256;
    cImage image(w, h, 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double u = (x + 0.5) / w, v = (y + 0.5) / h;
            const double cells = fbm(u * 24.0, v * 12.0, 21, 4, 0.55, 24);
            const double swirl = fbm(u * 6.0, v * 3.0, 22, 5, 0.5, 6);
            const double ridge = 1.0 - std::abs(2.0 * fbm(u * 12.0, v * 6.0, 23, 4, 0.5, 12) - 1.0);
            const double heat = 0.45 * cells + 0.40 * swirl + 0.35 * std::pow(ridge, 6.0);
            const double t = smoothstep(0.30, 0.78, heat);
            image.at(x, y) = ramp({rgb(0.50, 0.10, 0.01), rgb(0.92, 0.36, 0.04),
                                   rgb(1.00, 0.66, 0.20), rgb(1.00, 0.95, 0.80)},
                                  t);
        }
    return image;
}

cImage make_flare_gasses() {
    // Along the flare in x, across it in y. Streaks run along the flare and
    // the gas thins out towards both ends, where the texture's clamped edge
    // texels take over while the shader slides it along.
    const int w = 256, h = 64;
    cImage image(w, h, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double u = (x + 0.5) / w, v = (y + 0.5) / h;
            const double off_axis = 2.0 * v - 1.0;
            const double across = std::pow(std::max(0.0, 1.0 - off_axis * off_axis), 1.5);
            const double streaks = fbm(u * 3.0, v * 14.0, 31, 5);
            const double along = smoothstep(0.0, 0.18, u) * (1.0 - smoothstep(0.80, 1.0, u));
            const double density =
                std::clamp(across * (0.30 + 1.1 * std::pow(streaks, 1.6)) * along, 0.0, 1.0);
            sColor c = mix(rgb(1.0, 0.42, 0.06), rgb(1.0, 0.93, 0.72),
                           float(std::clamp(across * streaks * 1.4, 0.0, 1.0)));
            c.a = float(density);
            image.at(x, y) = c;
        }
    return image;
}

cImage make_flare_gradient() {
    // A swell along x: the shader slides it through the flare as the flare
    // ages, so light runs from one end of the arc to the other.
    const int w = 256, h = 32;
    cImage image(w, h, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double u = (x + 0.5) / w, v = (y + 0.5) / h;
            const double swell = smoothstep(0.0, 0.42, u) * (1.0 - smoothstep(0.58, 1.0, u));
            const double off_axis = 2.0 * v - 1.0;
            const double across = 0.55 + 0.45 * (1.0 - off_axis * off_axis);
            sColor c = mix(rgb(1.0, 0.50, 0.12), rgb(1.0, 0.96, 0.85), float(swell));
            c.a = float(swell * across);
            image.at(x, y) = c;
        }
    return image;
}

cImage make_ambient_gasses() {
    const int size = 128;
    cImage image(size, size, 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = (x + 0.5) / size - 0.5, dy = (y + 0.5) / size - 0.5;
            const double r = std::sqrt(dx * dx + dy * dy) / 0.5;
            const double falloff = std::pow(std::max(0.0, 1.0 - r * r), 2.0);
            const double wisps = fbm(dx * 6.0 + 9.0, dy * 6.0 + 9.0, 41, 5);
            sColor c = mix(rgb(1.0, 0.38, 0.05), rgb(1.0, 0.82, 0.45), float(falloff));
            c.a = float(std::clamp(falloff * (0.35 + 0.9 * wisps), 0.0, 1.0));
            image.at(x, y) = c;
        }
    return image;
}

namespace {
// A lookup that raises each channel of the input to its own power and
// scales it: exponents below 1 lift a channel, above 1 hold it back.
cImage power_lookup(double gamma_r, double gamma_g, double gamma_b, double gain_r, double gain_g,
                    double gain_b) {
    cImage image(256, 1, 3);
    for (int i = 0; i < 256; ++i) {
        const double x = i / 255.0;
        image.at(i, 0) = rgb(gain_r * std::pow(x, gamma_r), gain_g * std::pow(x, gamma_g),
                             gain_b * std::pow(x, gamma_b));
    }
    return image;
}
} // namespace

cImage make_orange_lookup() {
    return power_lookup(0.72, 1.08, 1.85, 1.0, 0.94, 0.78);
}

cImage make_coldblue_lookup() {
    return power_lookup(1.55, 1.12, 0.72, 0.80, 0.93, 1.0);
}

} // namespace imagegen
