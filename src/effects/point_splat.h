// Round points added into an RGBA8 image on the CPU, the way a software
// rasteriser draws them as point sprites with additive blending
// (source alpha, one) into an 8-bit target: each covered pixel centre gets
// the point's colour times its alpha, both rounded to 8 bits, and the sums
// saturate at 255. Because every contribution is fixed before it meets the
// target and saturating sums of non-negative values do not depend on their
// order, the image added once onto a target gives what drawing the points one
// by one onto it gives. A software rasteriser spends far longer per point than
// this takes. An optional depth test compares each point's depth with a depth
// buffer read back from GL, pixel by pixel, as GL's depth test does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A depth buffer to test the points against, without writing it: the values
// as GL reads them back as unsigned integers (the buffer's bits at the top),
// rows from the bottom up, the image's size.
struct sSplatDepthTest {
    // The comparisons in the order of GL's GL_NEVER to GL_ALWAYS.
    enum eFunc { NEVER, LESS, EQUAL, LEQUAL, GREATER, NOTEQUAL, GEQUAL, ALWAYS };

    const std::uint32_t* values = nullptr;
    int bits = 24;        // the depth buffer's precision
    eFunc func = LESS;    // passes when "point depth func stored depth"
    float range_near = 0; // glDepthRange
    float range_far = 1;
};

class cPointSplat {
public:
    // An empty (zero) image of the given size in pixels.
    void reset(int width, int height);

    // Adds count points, given as x, y, z triples, through the column-major
    // matrix clip_from_object (projection times model-view, as GL keeps
    // them) onto the image as the viewport. size is the point's diameter in
    // pixels, never under two; rgba the colour in 0 to 1. Points whose centre
    // is outside the view are left out; those near its edges are cut to it.
    // With a depth test, a pixel gets a point only where the point's depth
    // (its centre's, quantised to the buffer's bits) passes against it.
    void add(const float* xyz, std::size_t count, const float clip_from_object[16], float size,
             const float rgba[4], const sSplatDepthTest* depth = nullptr);

    int width() const { return m_width; }
    int height() const { return m_height; }
    // The pixels x0 <= x < x1, y0 <= y < y1 outside of which the image is
    // still zero since reset (empty when x0 >= x1): the part worth adding.
    struct sRect {
        int x0, y0, x1, y1;
    };
    const sRect& touched() const { return m_touched; }
    // Rows from the bottom up, as GL reads and writes them.
    const std::vector<std::uint8_t>& pixels() const { return m_pixels; }

private:
    // Calls visit(pixel index, squared distance in units of the radius,
    // covered) for every pixel centre in a point's square, covered when the
    // point covers it (and passes the depth test), and returns the rectangle
    // of the points' squares.
    template <typename Visit>
    sRect for_each_covered(const float* xyz, std::size_t count, const float clip_from_object[16],
                           float radius, const sSplatDepthTest* depth, Visit visit) const;
    // Grows touched() to hold r.
    void touch(const sRect& r);

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_pixels;
    sRect m_touched = {0, 0, 0, 0};
    // From this many two-pixel points on, an add() counts them on two
    // threads.
    static constexpr std::size_t kSplitCount = 65536;
    // Hits per pixel of one add() of two-pixel points, of each thread; zero
    // between adds.
    std::vector<std::uint8_t> m_counts;
    std::vector<std::uint8_t> m_more_counts;
};

// The product a * b of two column-major 4 x 4 matrices, in the order of
// operations GL implementations use for their combined matrix.
void multiply_matrices(const float a[16], const float b[16], float out[16]);
