// The lettered images: the GUI font, the credit title cards, the closing
// picture and the scrub scene's logo bands. All text comes from the built-in
// dot font of glyphs.cpp.
#include "generators.h"
#include "glyphs.h"
#include "noise.h"

#include "debug.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace imagegen {

namespace {

sColor rgb(double r, double g, double b, double a = 1.0) {
    return {float(r), float(g), float(b), float(a)};
}

// An RGBA image that is fully transparent. Its colour is the one its
// content will have, so that filtering at soft edges does not pull in black.
cImage transparent(int w, int h, const sColor& colour) {
    cImage image(w, h, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.at(x, y) = {colour.r, colour.g, colour.b, 0.0f};
    return image;
}

void blend_plane(cImage& image, const cPlane& coverage, const sColor& colour, float strength) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.blend(x, y, colour, coverage.at(x, y) * strength);
}

// A horizontal hairline from x0 to x1 at height y, fading out at both ends.
void paint_rule(cPlane& coverage, double x0, double x1, double y, double thickness) {
    for (int py = 0; py < coverage.height(); ++py) {
        const double across = std::clamp(thickness * 0.5 + 0.5 - std::abs(py + 0.5 - y), 0.0, 1.0);
        if (across <= 0.0)
            continue;
        for (int px = 0; px < coverage.width(); ++px) {
            const double t = (px + 0.5 - x0) / (x1 - x0);
            const double ends = smoothstep(0.0, 0.2, t) * (1.0 - smoothstep(0.8, 1.0, t));
            coverage.at(px, py) = std::max(coverage.at(px, py), float(across * ends));
        }
    }
}

// Text centred on x = centre, standing on the baseline.
void paint_centred(cPlane& coverage, const std::string& text, double centre, double baseline,
                   double dot, double spacing = 1.0) {
    paint_text(coverage, text, centre - 0.5 * text_width(text, dot, spacing), baseline, dot,
               spacing);
}

} // namespace

cImage make_fontlist() {
    // 36 cells of 20 x 20 texels in two rows. Texel row 0 (the bottom of
    // the picture, the first row the program sees) holds the capitals and
    // the punctuation, texel row 20 the digits and the small letters. A
    // glyph is 5 x 9 dots of 2 texels, centred across its cell, its
    // descenders one texel above the cell's bottom.
    const int cell = 20, columns = 36;
    cPlane ink(columns * cell, 2 * cell);
    auto place = [&](char c, int column, int row) {
        paint_text(ink, std::string(1, c), column * cell + 5.0, row * cell + 5.0, 2.0);
    };
    for (char c = 'A'; c <= 'Z'; ++c)
        place(c, 10 + (c - 'A'), 0);
    for (char c = 'a'; c <= 'z'; ++c)
        place(c, 10 + (c - 'a'), 1);
    for (char c = '0'; c <= '9'; ++c)
        place(c, c - '0', 1);
    place('-', 3, 0);
    place('.', 4, 0);
    place(',', 6, 0);
    place(':', 7, 0);
    place('(', 8, 0);
    place(')', 9, 0);

    // White ink in both colour and alpha: it reads the same whether the
    // label is drawn blended or not.
    cImage image(ink.width(), ink.height(), 4);
    for (int y = 0; y < ink.height(); ++y)
        for (int x = 0; x < ink.width(); ++x) {
            const float v = ink.at(x, y);
            image.at(x, y) = {v, v, v, v};
        }
    return image;
}

cImage make_credit_card(int index) {
    struct sCard {
        const char* title;
        const char* line;
    };
    static const sCard cards[] = {
        {"VANTREL", "a realtime demo for linux"},
        {"CODE", "engine, effects and tools"},
        {"MUSIC", "composed and synthesized in code"},
        {"MODELS", "generated meshes and baked light"},
        {"VANTREL 2026", "thanks for watching"},
    };
    VT_ASSERT(index >= 1 && index <= 5);
    const sCard& card = cards[index - 1];

    const int w = 512, h = 128;
    const sColor hot = rgb(1.0, 0.93, 0.80), ember = rgb(1.0, 0.50, 0.10),
                 warm = rgb(1.0, 0.80, 0.55);
    cPlane title(w, h), line(w, h);
    paint_centred(title, card.title, w * 0.5, 58.0, 6.0, 1.2);
    paint_centred(line, card.line, w * 0.5, 16.0, 2.0);
    const double rule = std::max(text_width(card.title, 6.0, 1.2), text_width(card.line, 2.0));
    paint_rule(line, (w - rule) * 0.5, (w + rule) * 0.5, 42.0, 1.5);
    cPlane glow = title;
    glow.blur(5);

    cImage image = transparent(w, h, ember);
    blend_plane(image, glow, ember, 0.9f);
    blend_plane(image, title, hot, 1.0f);
    blend_plane(image, line, warm, 1.0f);
    return image;
}

cImage make_logo_full() {
    const int w = 1024, h = 640;
    const std::string word = "VANTREL";
    const double dot = 13.0, spacing = 1.6, baseline = 300.0;
    cPlane mark(w, h), small(w, h);
    paint_centred(mark, word, w * 0.5, baseline, dot, spacing);
    const double mark_width = text_width(word, dot, spacing);
    paint_rule(small, (w - mark_width) * 0.5, (w + mark_width) * 0.5, baseline - 44.0, 2.0);
    paint_centred(small, "a realtime demo - 2026", w * 0.5, baseline - 92.0, 3.0, 1.2);
    cPlane near_glow = mark, far_glow = mark;
    near_glow.blur(8);
    far_glow.blur(36);

    cImage image(w, h, 3);
    const double top = baseline + kGlyphBaselineRow * dot;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Night-blue ground with a slow cloud texture and a violet light
            // behind the lettering.
            const double v = (y + 0.5) / h;
            const double cloud = fbm(x / 220.0, y / 220.0, 51, 5);
            const double dx = (x + 0.5 - 0.5 * w) / h, dy = (y + 0.5 - 0.52 * h) / h;
            const double light = std::exp(-(dx * dx * 0.6 + dy * dy * 2.2) / 0.06);
            sColor c = mix(rgb(0.012, 0.010, 0.030), rgb(0.040, 0.032, 0.085), float(v));
            c = mix(c, rgb(0.09, 0.07, 0.18), float(cloud * cloud * 0.6));
            c = mix(c, rgb(0.22, 0.14, 0.42), float(light * 0.55));
            const float glow = std::min(1.0f, 1.1f * near_glow.at(x, y) + 0.6f * far_glow.at(x, y));
            c = mix(c, rgb(0.42, 0.30, 0.92), glow * 0.75f);
            // The letters shade from pale blue at the cap line to lilac.
            const double shade =
                std::clamp((top - (y + 0.5)) / (kGlyphBaselineRow * dot), 0.0, 1.0);
            const sColor letter = mix(rgb(0.93, 0.96, 1.0), rgb(0.72, 0.62, 1.0), float(shade));
            c = mix(c, letter, mark.at(x, y));
            c = mix(c, rgb(0.70, 0.66, 0.90), small.at(x, y) * 0.9f);
            image.at(x, y) = c;
        }
    return image;
}

cImage make_logo_bottom() {
    // The lower 40 % of the screen: a shade that darkens towards the bottom
    // edge, and the word mark standing on it with a soft shadow, light
    // against the scene's yellow fog.
    const int w = 1024, h = 256;
    const double dot = 6.0, spacing = 1.6, left = 56.0, baseline = 44.0;
    cPlane mark(w, h), small(w, h);
    paint_text(mark, "VANTREL", left, baseline, dot, spacing);
    const double mark_width = text_width("VANTREL", dot, spacing);
    paint_text(small, "growing in the fog", left + mark_width + 28.0, baseline, 2.0);
    paint_rule(small, left - 24.0, w - left, 30.0, 1.0);
    cPlane shadow = mark;
    shadow.blur(4);

    cImage image = transparent(w, h, rgb(0.0, 0.0, 0.0));
    for (int y = 0; y < h; ++y) {
        const double shade = 0.85 * std::pow(1.0 - (y + 0.5) / h, 2.2);
        for (int x = 0; x < w; ++x)
            image.blend(x, y, rgb(0.0, 0.0, 0.0), float(shade));
    }
    blend_plane(image, shadow, rgb(0.0, 0.0, 0.0), 0.7f);
    blend_plane(image, mark, rgb(1.0, 0.96, 0.86), 1.0f);
    blend_plane(image, small, rgb(1.0, 0.86, 0.45), 0.9f);
    return image;
}

cImage make_logo_top() {
    // The upper 20 % of the screen: a shade that darkens towards the top
    // edge with a hairline and the title in small letters on the right.
    const int w = 1024, h = 128;
    const std::string title = "VANTREL 2026";
    cPlane text(w, h);
    paint_text(text, title, w - 56.0 - text_width(title, 2.0, 1.4), 92.0, 2.0, 1.4);
    paint_rule(text, 56.0, w + 24.0, 80.0, 1.0);

    cImage image = transparent(w, h, rgb(0.0, 0.0, 0.0));
    for (int y = 0; y < h; ++y) {
        const double shade = 0.8 * std::pow((y + 0.5) / h, 2.2);
        for (int x = 0; x < w; ++x)
            image.blend(x, y, rgb(0.0, 0.0, 0.0), float(shade));
    }
    blend_plane(image, text, rgb(1.0, 0.90, 0.62), 0.9f);
    return image;
}

} // namespace imagegen
