#include "glyphs.h"

#include "debug.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

namespace imagegen {

namespace {

// Rows top to bottom, separated by blanks; missing rows at the end are
// empty. Rows 0 to 6 stand on the baseline, rows 7 and 8 are descenders.
struct sGlyphRows {
    char c;
    const char* rows;
};

const sGlyphRows kGlyphTable[] = {
    {'A', ".###. #...# #...# ##### #...# #...# #...#"},
    {'B', "####. #...# #...# ####. #...# #...# ####."},
    {'C', ".###. #...# #.... #.... #.... #...# .###."},
    {'D', "####. #...# #...# #...# #...# #...# ####."},
    {'E', "##### #.... #.... ####. #.... #.... #####"},
    {'F', "##### #.... #.... ####. #.... #.... #...."},
    {'G', ".###. #...# #.... #.### #...# #...# .####"},
    {'H', "#...# #...# #...# ##### #...# #...# #...#"},
    {'I', ".###. ..#.. ..#.. ..#.. ..#.. ..#.. .###."},
    {'J', "..### ...#. ...#. ...#. ...#. #..#. .##.."},
    {'K', "#...# #..#. #.#.. ##... #.#.. #..#. #...#"},
    {'L', "#.... #.... #.... #.... #.... #.... #####"},
    {'M', "#...# ##.## #.#.# #.#.# #...# #...# #...#"},
    {'N', "#...# #...# ##..# #.#.# #..## #...# #...#"},
    {'O', ".###. #...# #...# #...# #...# #...# .###."},
    {'P', "####. #...# #...# ####. #.... #.... #...."},
    {'Q', ".###. #...# #...# #...# #.#.# #..#. .##.#"},
    {'R', "####. #...# #...# ####. #.#.. #..#. #...#"},
    {'S', ".#### #.... #.... .###. ....# ....# ####."},
    {'T', "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#.."},
    {'U', "#...# #...# #...# #...# #...# #...# .###."},
    {'V', "#...# #...# #...# #...# #...# .#.#. ..#.."},
    {'W', "#...# #...# #...# #.#.# #.#.# #.#.# .#.#."},
    {'X', "#...# #...# .#.#. ..#.. .#.#. #...# #...#"},
    {'Y', "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#.."},
    {'Z', "##### ....# ...#. ..#.. .#... #.... #####"},
    {'a', "..... ..... .###. ....# .#### #...# .####"},
    {'b', "#.... #.... ####. #...# #...# #...# ####."},
    {'c', "..... ..... .###. #.... #.... #...# .###."},
    {'d', "....# ....# .#### #...# #...# #...# .####"},
    {'e', "..... ..... .###. #...# ##### #.... .###."},
    {'f', "..##. .#..# .#... ###.. .#... .#... .#..."},
    {'g', "..... ..... .#### #...# #...# #...# .#### ....# .###."},
    {'h', "#.... #.... #.##. ##..# #...# #...# #...#"},
    {'i', "..#.. ..... .##.. ..#.. ..#.. ..#.. .###."},
    {'j', "...#. ..... ..##. ...#. ...#. ...#. ...#. #..#. .##.."},
    {'k', "#.... #.... #..#. #.#.. ##... #.#.. #..#."},
    {'l', ".##.. ..#.. ..#.. ..#.. ..#.. ..#.. .###."},
    {'m', "..... ..... ##.#. #.#.# #.#.# #.#.# #.#.#"},
    {'n', "..... ..... #.##. ##..# #...# #...# #...#"},
    {'o', "..... ..... .###. #...# #...# #...# .###."},
    {'p', "..... ..... ####. #...# #...# #...# ####. #.... #...."},
    {'q', "..... ..... .#### #...# #...# #...# .#### ....# ....#"},
    {'r', "..... ..... #.##. ##..# #.... #.... #...."},
    {'s', "..... ..... .#### #.... .###. ....# ####."},
    {'t', ".#... .#... ###.. .#... .#... .#..# ..##."},
    {'u', "..... ..... #...# #...# #...# #..## .##.#"},
    {'v', "..... ..... #...# #...# #...# .#.#. ..#.."},
    {'w', "..... ..... #...# #...# #.#.# #.#.# .#.#."},
    {'x', "..... ..... #...# .#.#. ..#.. .#.#. #...#"},
    {'y', "..... ..... #...# #...# #...# #...# .#### ....# .###."},
    {'z', "..... ..... ##### ...#. ..#.. .#... #####"},
    {'0', ".###. #...# #..## #.#.# ##..# #...# .###."},
    {'1', "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###."},
    {'2', ".###. #...# ....# ...#. ..#.. .#... #####"},
    {'3', "##### ...#. ..#.. ...#. ....# #...# .###."},
    {'4', "...#. ..##. .#.#. #..#. ##### ...#. ...#."},
    {'5', "##### #.... ####. ....# ....# #...# .###."},
    {'6', "..##. .#... #.... ####. #...# #...# .###."},
    {'7', "##### ....# ...#. ..#.. .#... .#... .#..."},
    {'8', ".###. #...# #...# .###. #...# #...# .###."},
    {'9', ".###. #...# #...# .#### ....# ...#. .##.."},
    {'-', "..... ..... ..... .###. ..... ..... ....."},
    {'.', "..... ..... ..... ..... ..... .##.. .##.."},
    {',', "..... ..... ..... ..... ..... .##.. .##.. ..#.. .#..."},
    {'(', "...#. ..#.. .#... .#... .#... ..#.. ...#."},
    {')', ".#... ..#.. ...#. ...#. ...#. ..#.. .#..."},
    {':', "..... .##.. .##.. ..... .##.. .##.. ....."},
};

using tDots = std::array<std::array<bool, kGlyphColumns>, kGlyphRows>;

struct sSegment {
    double x0, y0, x1, y1; // dot centres
};

struct sGlyph {
    tDots dots{};
    std::vector<sSegment> diagonals;
};

tDots parse_rows(const char* text) {
    tDots dots{};
    int row = 0, column = 0;
    for (const char* p = text; *p; ++p) {
        if (*p == ' ') {
            VT_ASSERT_MSG(column == kGlyphColumns, "a glyph row is 5 dots wide");
            ++row;
            column = 0;
            continue;
        }
        VT_ASSERT(row < kGlyphRows && column < kGlyphColumns);
        VT_ASSERT(*p == '#' || *p == '.');
        dots[std::size_t(row)][std::size_t(column)] = *p == '#';
        ++column;
    }
    VT_ASSERT_MSG(column == kGlyphColumns, "a glyph row is 5 dots wide");
    return dots;
}

// Dots that touch only at a corner get a stroke between their centres.
std::vector<sSegment> find_diagonals(const tDots& dots) {
    auto ink = [&](int c, int r) {
        return c >= 0 && r >= 0 && c < kGlyphColumns && r < kGlyphRows &&
               dots[std::size_t(r)][std::size_t(c)];
    };
    std::vector<sSegment> segments;
    for (int r = 0; r + 1 < kGlyphRows; ++r)
        for (int c = 0; c + 1 < kGlyphColumns; ++c) {
            if (ink(c, r) && ink(c + 1, r + 1) && !ink(c + 1, r) && !ink(c, r + 1))
                segments.push_back({c + 0.5, r + 0.5, c + 1.5, r + 1.5});
            if (ink(c + 1, r) && ink(c, r + 1) && !ink(c, r) && !ink(c + 1, r + 1))
                segments.push_back({c + 1.5, r + 0.5, c + 0.5, r + 1.5});
        }
    return segments;
}

const std::map<char, sGlyph>& glyphs() {
    static const std::map<char, sGlyph> table = [] {
        std::map<char, sGlyph> built;
        for (const sGlyphRows& entry : kGlyphTable) {
            sGlyph glyph;
            glyph.dots = parse_rows(entry.rows);
            glyph.diagonals = find_diagonals(glyph.dots);
            built.emplace(entry.c, glyph);
        }
        return built;
    }();
    return table;
}

double box_distance(double u, double v, double left, double top) {
    // Distance to the unit square [left, left + 1] x [top, top + 1].
    const double dx = std::abs(u - (left + 0.5)) - 0.5, dy = std::abs(v - (top + 0.5)) - 0.5;
    const double outside = std::hypot(std::max(dx, 0.0), std::max(dy, 0.0));
    return outside + std::min(std::max(dx, dy), 0.0);
}

double segment_distance(double u, double v, const sSegment& s, double radius) {
    const double ex = s.x1 - s.x0, ey = s.y1 - s.y0;
    const double t =
        std::clamp(((u - s.x0) * ex + (v - s.y0) * ey) / (ex * ex + ey * ey), 0.0, 1.0);
    return std::hypot(u - (s.x0 + t * ex), v - (s.y0 + t * ey)) - radius;
}

} // namespace

bool has_glyph(char c) {
    return glyphs().count(c) != 0;
}

bool glyph_ink(char c, int column, int row) {
    const auto found = glyphs().find(c);
    if (found == glyphs().end() || column < 0 || row < 0 || column >= kGlyphColumns ||
        row >= kGlyphRows)
        return false;
    return found->second.dots[std::size_t(row)][std::size_t(column)];
}

double glyph_distance(char c, double u, double v) {
    const auto found = glyphs().find(c);
    double best = 1e9;
    if (found == glyphs().end())
        return best;
    const sGlyph& glyph = found->second;
    for (int r = 0; r < kGlyphRows; ++r)
        for (int col = 0; col < kGlyphColumns; ++col)
            if (glyph.dots[std::size_t(r)][std::size_t(col)])
                best = std::min(best, box_distance(u, v, col, r));
    for (const sSegment& s : glyph.diagonals)
        best = std::min(best, segment_distance(u, v, s, 0.5));
    return best;
}

double text_width(const std::string& text, double dot, double spacing) {
    if (text.empty())
        return 0.0;
    return (double(text.size()) * (kGlyphColumns + spacing) - spacing) * dot;
}

void paint_text(cPlane& coverage, const std::string& text, double left, double baseline, double dot,
                double spacing) {
    VT_ASSERT(dot > 0.0);
    constexpr int kSamples = 4;
    const double top = baseline + kGlyphBaselineRow * dot; // pixel y of the glyph's top edge
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        VT_ASSERT_MSG(c == ' ' || has_glyph(c), "the font has no glyph for this character");
        if (c == ' ')
            continue;
        const double glyph_left = left + double(i) * (kGlyphColumns + spacing) * dot;
        // Pixels whose centres lie within one pixel of the glyph's box.
        const int x0 = std::max(0, int(std::floor(glyph_left - 1.0)));
        const int x1 =
            std::min(coverage.width() - 1, int(std::ceil(glyph_left + kGlyphColumns * dot + 1.0)));
        const int y0 = std::max(0, int(std::floor(top - kGlyphRows * dot - 1.0)));
        const int y1 = std::min(coverage.height() - 1, int(std::ceil(top + 1.0)));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                // The fraction of a 4 x 4 grid of samples that falls on ink.
                int inside = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx) {
                        const double px = x + (sx + 0.5) / kSamples;
                        const double py = y + (sy + 0.5) / kSamples;
                        if (glyph_distance(c, (px - glyph_left) / dot, (top - py) / dot) <= 0.0)
                            ++inside;
                    }
                const float cover = float(inside) / float(kSamples * kSamples);
                coverage.at(x, y) = std::max(coverage.at(x, y), cover);
            }
    }
}

} // namespace imagegen
