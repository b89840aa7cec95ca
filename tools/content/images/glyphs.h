// The lettering of every generated image: a built-in 5 x 9 dot font
// (7 dots above the baseline, 2 below for descenders) drawn as smooth
// strokes: each ink dot is a square, and dots that touch only at a corner
// are joined by a stroke of the same width, so diagonals read as lines
// rather than stairs at any size.
#pragma once

#include "image.h"

#include <string>

namespace imagegen {

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 9;
constexpr int kGlyphBaselineRow = 7; // rows 0..6 stand on the baseline

// Whether the font has a glyph for c. A blank has none and is left empty.
bool has_glyph(char c);
// Whether dot (column, row) of c's glyph is inked; row 0 is the top row.
bool glyph_ink(char c, int column, int row);
// Signed distance, in dots, from the point (u, v) to c's ink; u runs right
// from the glyph's left edge, v down from its top edge. Negative inside.
double glyph_distance(char c, double u, double v);

// Horizontal extent of a line of text in pixels: each glyph is 5 dots wide
// and glyphs are spacing dots apart.
double text_width(const std::string& text, double dot, double spacing = 1.0);

// Adds a line of text to a coverage plane (pixel y up), the left edge of
// the first glyph at x = left and the baseline at y = baseline; dot is the
// size of one font dot in pixels. Each pixel gets the fraction of its area
// that lies on ink (4 x 4 samples); overlapping text keeps the larger one.
void paint_text(cPlane& coverage, const std::string& text, double left, double baseline, double dot,
                double spacing = 1.0);

} // namespace imagegen
